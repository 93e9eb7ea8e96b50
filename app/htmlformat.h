#pragma once

#include <QString>

/*! Small HTML builders for the about and support boxes. */
namespace HtmlFormat {

QString htmlLink(const QString& text, const QString& href = QString());
QString htmlParagraph(const QString& content, const QString& align);
QString htmlColored(const QString& content, const QString& color);

} // namespace HtmlFormat
