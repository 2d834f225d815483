#include "entities/message.h"

#include "app/blend.h"
#include "app/resource.h"
#include "states/pop_up.h"
#include "world/world.h"

namespace {

constexpr int kTextEnd = '$';

}  // namespace

Message::Message(const std::string& signText) {
  getResource(sheet, "media/tilesheet.png");
  setText(signText);
}

// A panel never handed to a world is still ours.
Message::~Message() {
  if (!panelWorld) delete popUp;
}

const int* Message::tags() const {
  static const int list[] = {tagOf("entt"), tagOf("rndr"), tagOf("dyna"), tagOf("posi"), tagOf("mesg"), 0};
  return list;
}

// Besides the draw layer, signs sort by column, then by height.
int Message::order(int tag) const {
  if (tag == tagOf("rndr")) return 30;
  return static_cast<int>(x() * 600 + y());
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
  if (panelWorld) {
    panelWorld->remove(popUp);
  } else {
    delete popUp;
  }
  panelWorld = nullptr;
  popUp = new PopUp();
  popUp->addLine(text, "");
}

// Without an avatar nobody reads the sign, and the panel stays hidden.
void Message::update(double) {
  if (!panelWorld) {
    world->add(popUp);
    panelWorld = world;
  }
  Entity* avatar = world->first(tagOf("avat"));
  if (!avatar) {
    popUp->visible = false;
    return;
  }
  auto [ax, ay] = avatar->position();
  popUp->visible = box().contains(ax + 10, ay + 10);
}

void Message::draw() { drawBitmap(sheet->frame(6), static_cast<float>(x()), static_cast<float>(y()), 0); }

void Message::write(FILE* file) const {
  Entity::write(file);
  std::fwrite(text.data(), 1, text.size(), file);
  std::fputc(kTextEnd, file);
}

// Reads up to the '$' that ends the text, or to the end of the file, which leaves the text
// unended (recordProblem then says so and the loader rejects the file).
void Message::read(FILE* file) {
  Entity::read(file);
  std::string bytes;
  int c;
  while ((c = std::fgetc(file)) != EOF && c != kTextEnd) bytes.push_back(static_cast<char>(c));
  textEnded = c == kTextEnd;
  setText(bytes);
}

std::string Message::recordProblem() const { return textEnded ? "" : "message text not ended by '$'"; }
