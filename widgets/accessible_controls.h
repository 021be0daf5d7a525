#pragma once

// Makes the accessible interfaces of the program's own controls (the ROM list
// box, the sortable grid, the link label) known to Qt, and those that mend
// what Qt's own tell on this platform (combo boxes, the main window), so that
// assistive technology reads them; once per program, after the application
// object is made. The controls know nothing of their interfaces, which read
// them: it is done here, above both, as Qt's own widgets get theirs from the
// application.
void InstallAccessibleControls();
