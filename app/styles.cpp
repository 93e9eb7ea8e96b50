#include "app/styles.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace Styles {

void apply(const QString& name)
{
    QString key = name;
    if (key.compare(QLatin1String("cleanlooks"), Qt::CaseInsensitive) == 0
        || key.compare(QLatin1String("plastique"), Qt::CaseInsensitive) == 0)
        key = QStringLiteral("Fusion");
    if (key.isEmpty() || !QStyleFactory::keys().contains(key, Qt::CaseInsensitive))
        return;
    if (QApplication::style() && QApplication::style()->name().compare(key, Qt::CaseInsensitive) == 0)
        return;
    QApplication::setStyle(key);
}

} // namespace Styles
