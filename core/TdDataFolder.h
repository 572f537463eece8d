#pragma once
// The default data folder: the per-user application-data folder, then the maker's and
// the product's folder. The settings file always lives here; the table files too,
// unless the user chose another database folder.
#include <QString>

// The folder, ending with "/", from the environment. Raises Exception when the per-user
// folder cannot be found. The program's start puts it into its context once.
QString LookUpDefaultDataFolder();

// The context's folder, else the one looked up in the environment.
QString DefaultDataFolder();
