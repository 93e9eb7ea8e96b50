#pragma once

#include <QString>

/*! Application styles by the names the settings store. */
namespace Styles {

/*! The toolkit style that shows \a name: the classic "cleanlooks" is
    Fusion with a cool palette, "plastique" the Windows style with a warm one
    (Fusion when the platform's own style is Windows), anything else itself. */
QString styleFor(const QString& name, const QString& native);

/*! Applies the style called \a name with its palette; a name no style
    answers to leaves the current style in place. */
void apply(const QString& name, const QString& native);

} // namespace Styles
