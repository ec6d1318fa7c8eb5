// The start-up of a whole executable: each program, test executable and fuzz
// target defines it to run the start-up routine of every folder library it
// links (Initialize<Folder>(), which runs those below it first). Classes are
// registered and hooks installed here, never by static initialisers, which
// the linker drops from unreferenced objects.
#pragma once

void InitializeUnits();
