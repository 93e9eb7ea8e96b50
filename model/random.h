#pragma once

#include <QtGlobal>

/*!
    The one random generator of the program. It is seeded once at start-up
    (tests seed it themselves), and every random choice draws from it.
*/
namespace Random {

void seed(quint32 value);

/*! A non-negative int, like the classic rand(). */
int next();

} // namespace Random
