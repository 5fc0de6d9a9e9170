#include "displaystart.h"

// Windows has one window system, and Qt's own box tells why it could not start; DISPLAY may
// still be set there, for an X server that other programs use.
bool DisplayStart::chooseWindowSystem(int, const char *const *)
{
    return false;
}
