#include "link_cursor.h"

#include <QString>

#include <iterator>

namespace {

// X black, o white, blank transparent. The hand points up and to the left a
// little, with a cuff; the fingertip is at the top of the index finger.
constexpr const char *kHand[] = {
    "      XX",           "     XooX",          "     XooX",          "     XooX",         "     XooX",
    "     XooXXX",        "     XooXooXXX",     "     XooXooXooXX",   " XXX XooXooXooXoX", " XooXXooooooooXooX",
    " XoooXoooooooooooX", "  XooXoooooooooooX", "   XoooooooooooooX", "   XooooooooooooX", "    XoooooooooooX",
    "    XooooooooooX",   "     XoooooooooX",   "     XoooooooooX",   "     XXXXXXXXXXX",  "     XoooooooooX",
    "     XXXXXXXXXXX",
};
constexpr int kHotX = 6;
constexpr int kHotY = 0;

} // namespace

QImage MakeLinkCursor()
{
    QImage cursor(32, 32, QImage::Format_Indexed8);
    cursor.setColorTable({qRgba(0, 0, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255)});
    cursor.fill(0);
    for (int y = 0; y < int(std::size(kHand)); ++y) {
        const QByteArray row(kHand[y]);
        for (int x = 0; x < row.size(); ++x) {
            if (row[x] == 'X')
                cursor.setPixel(x, y, 1);
            else if (row[x] == 'o')
                cursor.setPixel(x, y, 2);
        }
    }
    cursor.setText(QStringLiteral("hotspot"), QStringLiteral("%1,%2").arg(kHotX).arg(kHotY));
    return cursor;
}
