#include "themes/themes.h"

#include <allegro5/allegro_opengl.h>

#include "app/blend.h"
#include "app/geometry.h"
#include "themes/th_crooked.h"
#include "themes/th_mist.h"
#include "themes/th_night.h"
#include "themes/th_standard.h"
#include "themes/th_sunset.h"
#include "themes/th_sway.h"

Theme* themes[kThemeCount] = {};

// The themes live for the whole run; a second call changes nothing.
void createThemes() {
  if (!themes[0]) {
    themes[0] = new ThStandard();
    themes[1] = new ThSunset();
    themes[2] = new ThMist();
    themes[3] = new ThNight();
    themes[4] = new ThCrooked();
    themes[5] = new ThSway();
  }
}

void drawSky(const Theme& theme) {
  ALLEGRO_COLOR bottom = theme.skyBottom();
  ALLEGRO_COLOR top = theme.skyTop();
  beginRawDrawing();
  // The sky is opaque and covers the screen: without blending, a software renderer spares
  // reading back every pixel of the frame.
  GLboolean blending = glIsEnabled(GL_BLEND);
  glDisable(GL_BLEND);
  glBegin(GL_QUADS);
  glColor3f(bottom.r, bottom.g, bottom.b);
  glVertex2f(0, kScreenHeight);
  glVertex2f(kScreenWidth, kScreenHeight);
  glColor3f(top.r, top.g, top.b);
  glVertex2f(kScreenWidth, 0);
  glVertex2f(0, 0);
  glEnd();
  if (blending) glEnable(GL_BLEND);
}
