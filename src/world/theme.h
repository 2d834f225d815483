#pragma once

#include <allegro5/allegro.h>

// The look of a level: sky gradient colours, cloud tint and layering, and drawing hooks around
// the level's entities. Hooks draw only; update only advances the theme's clock. The interface
// lives here, below the level objects, so that a cloud can ask its level's theme for its tint and
// layer without knowing the six themes (themes/themes.h builds those).
class Theme {
 public:
  virtual ~Theme() = default;
  virtual ALLEGRO_COLOR skyTop() const;
  virtual ALLEGRO_COLOR skyBottom() const;
  virtual ALLEGRO_COLOR cloudTint() const;
  virtual void beforeEntities() {}
  virtual void afterEntities() {}
  virtual void update(double) {}
  virtual const char* name() const = 0;
  // Asked once for each new cloud: true puts it behind the level.
  virtual bool cloudBehind();
  virtual int requiredPoints() const { return 0; }
};
