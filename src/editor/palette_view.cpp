#include "editor/palette_view.h"

#include "app/blend.h"

namespace {

constexpr float kNameX = 5.0f;          // px: the chosen entry's name
constexpr float kNameY = 5.0f;          // px
constexpr float kPictureGap = 10.0f;    // px between the name and its picture
constexpr float kPictureTop = 8.0f;     // px: a bin's picture reaches 8 px above its cell
constexpr float kPanelLeft = 5.0f;      // px
constexpr float kPanelTop = 5.0f;       // px
constexpr float kPanelRight = 795.0f;   // px
constexpr float kPanelBottom = 580.0f;  // px
constexpr float kTitleY = 10.0f;        // px
constexpr float kSlotsLeft = 10.0f;     // px
constexpr float kSlotsTop = 30.0f;      // px
constexpr float kSlotWidth = 130.0f;    // px
constexpr float kSlotHeight = 90.0f;    // px
constexpr float kSlotPictureX = 12.0f;  // px inside a slot
constexpr float kSlotPictureY = 14.0f;  // px inside a slot
constexpr float kSlotNameY = 70.0f;     // px inside a slot
constexpr float kSlotInset = 2.0f;      // px: the frame inside a slot
const char* const kOverviewTitle = "Click an object to choose it. Tab or Escape closes this.";

float slotLeft(int index) { return kSlotsLeft + kSlotWidth * static_cast<float>(index % PaletteView::kColumns); }
float slotTop(int index) { return kSlotsTop + kSlotHeight * static_cast<float>(index / PaletteView::kColumns); }

void frameSlot(int index, ALLEGRO_COLOR colour) {
  drawRectangle(slotLeft(index) + kSlotInset, slotTop(index) + kSlotInset, slotLeft(index) + kSlotWidth - kSlotInset,
                slotTop(index) + kSlotHeight - kSlotInset, colour, 2.0f);
}

}  // namespace

int PaletteView::entryAt(int x, int y, int count) {
  if (x < kSlotsLeft || y < kSlotsTop) return -1;
  int column = static_cast<int>((x - kSlotsLeft) / kSlotWidth);
  int row = static_cast<int>((y - kSlotsTop) / kSlotHeight);
  int index = row * kColumns + column;
  return column < kColumns && index < count ? index : -1;
}

void PaletteView::drawPicture(const PaletteEntry& entry, float x, float y) {
  std::unique_ptr<Entity>& picture = pictures_[std::string(entry.kind->code) + entry.kind->label(entry.fields)];
  if (!picture) picture = entry.kind->make(entry.fields);
  picture->setPosition(x, y);
  picture->draw();
  resetBlender();
}

void PaletteView::drawChosen(ALLEGRO_FONT* font, const PaletteEntry& entry) {
  std::string name = entry.kind->label(entry.fields);
  drawText(font, kNameX, kNameY, 0, name);
  drawPicture(entry, kNameX + static_cast<float>(al_get_text_width(font, name.c_str())) + kPictureGap, kPictureTop);
}

void PaletteView::drawOverview(ALLEGRO_FONT* font, const std::vector<PaletteEntry>& entries, int chosen,
                               int underMouse) {
  setBlendColour(al_map_rgba(255, 255, 255, 208));
  drawFilledRectangle(kPanelLeft, kPanelTop, kPanelRight, kPanelBottom, al_map_rgb(0, 0, 0));
  resetBlender();
  drawText(font, kSlotsLeft, kTitleY, 0, kOverviewTitle);
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    drawPicture(entries[i], slotLeft(i) + kSlotPictureX, slotTop(i) + kSlotPictureY);
    drawText(font, slotLeft(i) + kSlotPictureX, slotTop(i) + kSlotNameY, 0, entries[i].kind->label(entries[i].fields));
  }
  if (underMouse >= 0) frameSlot(underMouse, al_map_rgb(255, 255, 255));
  frameSlot(chosen, al_map_rgb(255, 255, 0));
  resetBlender();
}
