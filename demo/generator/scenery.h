#pragma once

#include "grey_bmp.h"
#include "imaging/argb8888.h"

// The demo's pictures, each drawn from shapes and gradients.
namespace mavu::demo {

imaging::TARGB8888 TitleBackground();
imaging::TARGB8888 RooftopAtSunset();
imaging::TARGB8888 NightSky();
imaging::TARGB8888 Room();
imaging::TARGB8888 Character();

imaging::TARGB8888 MessageWindow();
imaging::TARGB8888 NamePlate();
// Three states side by side: at rest, under the mouse, pressed.
imaging::TARGB8888 ButtonSheet(int width, int height);
imaging::TARGB8888 WaitArrow();

GreyPicture DiagonalRule();

}  // namespace mavu::demo
