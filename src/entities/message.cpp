#include "entities/message.h"

#include "app/blend.h"
#include "app/geometry.h"
#include "app/resource.h"
#include "entities/avatar.h"
#include "entities/pop_up.h"
#include "entities/sign_text.h"
#include "world/draw_layer.h"
#include "world/world.h"

Message::Message(const std::string& signText)
    : Entity({tagOf("entt"), tagOf("rndr"), tagOf("dyna")}, DrawLayer::Signs) {
  getResource(sheet, "media/tilesheet.png");
  setText(signText);
}

Message::~Message() = default;

// Besides their draw layer, signs sort by column, then by height.
int Message::order(int tag) const {
  if (tag == tagOf("rndr")) return Entity::order(tag);
  return static_cast<int>(x() * kScreenHeight + y());
}

// The panel goes with the sign, so a sign removed while the avatar reads it leaves no text
// hanging at the top of the screen.
void Message::kill() {
  if (panelWorld) panelWorld->remove(popUp);
  Entity::kill();
}

Box Message::box() const { return Box{x() - 5, y(), x() + 25, y() + 20}; }

void Message::setText(const std::string& newText) {
  text = newText;
  dropPanel();
  ownPanel = std::make_unique<PopUp>();
  popUp = ownPanel.get();
  showText();
}

// The panel is wrapped as shown, with each placeholder's key in place.
void Message::showText() {
  shown = signText(text);
  popUp->lines.clear();
  popUp->addLine(shown, "");
}

// A panel handed to a world leaves it at its next flush; one still ours goes at once.
void Message::dropPanel() {
  if (panelWorld) panelWorld->remove(popUp);
  panelWorld = nullptr;
  ownPanel.reset();
  popUp = nullptr;
}

// Without an avatar nobody reads the sign, and the panel stays hidden.
void Message::update(double) {
  if (ownPanel) {
    world->adopt(std::move(ownPanel));
    panelWorld = world;
  }
  // A key rebound since the panel was made shows at once.
  if (signText(text) != shown) showText();
  Avatar* avatar = world->first<Avatar>();
  if (!avatar) {
    popUp->visible = false;
    return;
  }
  auto [ax, ay] = avatar->position();
  popUp->visible = box().contains(ax + 10, ay + 10);
}

void Message::draw() { drawBitmap(sheet->frame(6), static_cast<float>(x()), static_cast<float>(y()), 0); }
