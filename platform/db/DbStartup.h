// Start-up of this folder's library: registers its classes by name and
// installs its hooks, after the start-up of every folder it stands on. Runs
// once; later calls do nothing.
#pragma once

void InitializeDb();
