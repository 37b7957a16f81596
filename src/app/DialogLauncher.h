#pragma once

// Runs the main dialog modally until it closes; returns the process's exit status. Start-up
// reaches the dialog only through this, so the driver never depends on the windowing toolkit.
int RunMainDialog(int argc, char** argv);
