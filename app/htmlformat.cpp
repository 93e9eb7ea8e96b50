#include "app/htmlformat.h"

namespace HtmlFormat {

QString htmlLink(const QString& text, const QString& href)
{
    return QStringLiteral("<a href= %1 > %2 </a>").arg(href.isEmpty() ? text : href, text);
}

QString htmlParagraph(const QString& content, const QString& align)
{
    return QStringLiteral("<p align= %1 > %2 </p>").arg(align, content);
}

QString htmlColored(const QString& content, const QString& color)
{
    return QStringLiteral("<span style=color: %1 > %2 </span>").arg(color, content);
}

} // namespace HtmlFormat
