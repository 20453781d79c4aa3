// Head-up display.
#include "sim/render/hud.h"

void DrawText(const char* /*text*/, float /*x*/, float /*y*/, int /*size*/)
{
}

void DrawStatusLine()
{
}

void DrawCockpit()
{
}

void DrawAttitudeBall()
{
}

void DrawGearLamp()
{
}
