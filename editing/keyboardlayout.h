#pragma once

/*
    The input layout of the calling thread, as a layout handle held in an int.
    Only Windows keeps a layout per thread; elsewhere nothing is switched and
    current() reports the layout the caller remembered, so stored values pass
    through unchanged.
*/
class KeyboardLayout
{
public:
    /* The layout now in force; \a remembered where there is no such thing. */
    static int current(int remembered);
    static void activate(int layout);
};
