#pragma once
#include <QImage>

// The picture in the file at path (a zero-terminated name in the platform's own
// bytes), PCX or BMP as its content says, whatever its name. A file that
// cannot be read or decoded (missing, a folder, a pipe or device, damaged, too
// large) gives a null image at once; nothing is shown to the user. A picture
// larger than 4096 pixels on a side comes back reduced (picture_reduction.h).
// The flag is accepted and has no meaning.
QImage PictureLibLoad(const char *path, unsigned flag);
