#pragma once

// Makes the accessible interfaces of the program's own controls (the ROM list
// box, the sortable grid) known to Qt, so that assistive technology reads
// them; once per program, after the application object is made. The controls
// know nothing of their interfaces, which read them: it is done here, above
// both, as Qt's own widgets get theirs from the application.
void InstallAccessibleControls();
