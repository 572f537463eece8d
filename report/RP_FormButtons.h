#pragma once
// The "OK" and "Cancel" row the engine's small windows share, wired to accept and reject.
class QDialog;
class QDialogButtonBox;

QDialogButtonBox* rpOkCancelButtons(QDialog* dialog);
