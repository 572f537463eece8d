#pragma once
// The default data folder: the per-user application-data folder, then the maker's and
// the product's folder. The settings file always lives here; the table files too,
// unless the user chose another database folder.
#include <QString>

// The folder, ending with "/", fixed at the first call. Raises Exception when the
// per-user folder cannot be found.
const QString& DefaultDataFolder();
// Puts a folder in place (tests); an empty one makes the next call look it up again.
void SetDefaultDataFolder(const QString& folder);
