#include "app/styles.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include "config/settings.h"

namespace Styles {

namespace {

// The two classic styles are gone from the toolkit; each is shown as a
// style that is still there, with a palette of its own, so that the three
// choices of the menu look different.
QPalette cleanlooksPalette(QPalette palette)
{
    palette.setColor(QPalette::Window, QColor(0xdd, 0xe4, 0xee));
    palette.setColor(QPalette::Button, QColor(0xe6, 0xec, 0xf4));
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0x6a, 0xa8));
    palette.setColor(QPalette::AlternateBase, QColor(0xee, 0xf2, 0xf8));
    return palette;
}

QPalette plastiquePalette(QPalette palette)
{
    palette.setColor(QPalette::Window, QColor(0xe9, 0xe4, 0xda));
    palette.setColor(QPalette::Button, QColor(0xef, 0xeb, 0xe3));
    palette.setColor(QPalette::Highlight, QColor(0x7a, 0x5a, 0x2e));
    return palette;
}

bool isNamed(const QString& name, const char* expected)
{
    return name.compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
}

} // namespace

QString styleFor(const QString& name, const QString& native)
{
    if (isNamed(name, "cleanlooks"))
        return QStringLiteral("Fusion");
    if (isNamed(name, "plastique"))
        return isNamed(native, "windows") ? QStringLiteral("Fusion") : QStringLiteral("Windows");
    return name;
}

void apply(const QString& name, const QString& native)
{
    const QString key = styleFor(name, native.isEmpty() ? QApplication::style()->name() : native);
    if (key.isEmpty() || !QStyleFactory::keys().contains(key, Qt::CaseInsensitive))
        return;
    if (!QApplication::style() || QApplication::style()->name().compare(key, Qt::CaseInsensitive) != 0)
        QApplication::setStyle(key);
    QPalette palette = QApplication::style()->standardPalette();
    if (isNamed(name, "cleanlooks"))
        palette = cleanlooksPalette(palette);
    else if (isNamed(name, "plastique"))
        palette = plastiquePalette(palette);
    QApplication::setPalette(palette);
}

} // namespace Styles
