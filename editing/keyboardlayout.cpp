#include "keyboardlayout.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>

int KeyboardLayout::current(int)
{
    // The settings keep 32 bits; 64-bit Windows sign-extends layout handles,
    // so the low half is all there is to keep.
    return int(reinterpret_cast<qintptr>(GetKeyboardLayout(GetCurrentThreadId())));
}

void KeyboardLayout::activate(int layout)
{
    ActivateKeyboardLayout(reinterpret_cast<HKL>(qintptr(layout)), 0);
}

#else

int KeyboardLayout::current(int remembered)
{
    return remembered;
}

void KeyboardLayout::activate(int)
{
}

#endif
