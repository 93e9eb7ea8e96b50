#pragma once

#include <QString>

/*! The writing lesson's mask rules, apart from the widget. */
namespace PromptRules {

/*! Characters (Unicode code points) of \a text; lengths below count these. */
int characterCount(const QString& text);

/*! One "?" per character of \a word. */
QString initialPrompt(const QString& word);

/*! The mask as rich text: the part covered by \a typedLength characters in
    blue, or the whole mask red when more characters were typed than the word has. */
QString coloredPrompt(const QString& prompt, int typedLength);

/*! Uncovers the first hidden letter at or after the typed length (from the
    start when the typing is already as long as the word). */
QString uncoverOne(const QString& prompt, const QString& word, int typedLength);

/*! Position (in characters) of the first letter where \a typed departs
    from \a word, letter case ignored; -1 when it does not. */
int firstMistake(const QString& typed, const QString& word);

/*! The mask after a wrong answer, as rich text: the letters typed right
    shown in blue, the first wrong position in red (the letter typed there,
    or "?" where a letter is missing), the rest of the mask as it was. */
QString mistakePrompt(const QString& prompt, const QString& typed, const QString& word);

/*! The typed text matches the word, letter case ignored, blanks counted. */
bool isRight(const QString& typed, const QString& word);

} // namespace PromptRules
