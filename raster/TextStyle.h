#pragma once
// How a control's text looks: face, size, colours, weight, alignment, angle and quality. The font
// that draws it is found once through the font cache and remembered here (not owned).

#include "raster/Color.h"

class LICE_IFont;

enum TextStyleWeight : int { kTextNormal = 0, kTextBold = 1, kTextItalic = 2 };
enum TextStyleAlign : int { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };
enum TextStyleQuality : int {
  kQualityDefault = 0,
  kQualityNonAntialiased = 1,
  kQualityAntialiased = 2,
  kQualityClearType = 3
};

struct TextStyle {
  char face[32] = "Verdana";
  int size = 12;
  Color colour = {255, 0, 0, 0};
  Color entryBackground = {255, 255, 255, 255};
  Color entryForeground = {255, 0, 0, 0};
  int style = kTextNormal;
  int alignment = kAlignCentre;
  int orientation = 0;  // degrees
  int quality = kQualityDefault;
  LICE_IFont* cachedFont = nullptr;
};
