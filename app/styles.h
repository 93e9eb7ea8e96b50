#pragma once

#include <QString>

/*! Application styles by the names the settings store. */
namespace Styles {

/*! Applies the style called \a name. The classic "cleanlooks" and
    "plastique" names are kept in settings and menus and shown as Fusion;
    a name no style answers to leaves the current style in place. */
void apply(const QString& name);

} // namespace Styles
