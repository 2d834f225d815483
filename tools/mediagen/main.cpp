// mediagen OUTDIR [--contact-sheet PNG]
// Writes every picture, sound, tune and the font of the game into OUTDIR, the same bytes on
// every run; optionally also one PNG showing all pictures for review.

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/safe_file.h"
#include "art.h"
#include "contact_sheet.h"
#include "png_out.h"
#include "songs.h"
#include "sounds.h"
#include "wav_writer.h"
#include "xm_writer.h"

namespace {

const char* const kFontSource = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kFontLicenseSource = "/usr/share/doc/fonts-dejavu-core/copyright";

// The sizes desktops look for in the hicolor icon theme.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

struct SheetFile {
  std::string name;
  std::vector<Canvas> frames;
  int rows;
};

std::vector<NamedPicture> pictures() {
  std::vector<NamedPicture> result;
  for (SheetFile sheet :
       {SheetFile{"guysheet.png", guyFrames(), 9}, SheetFile{"badsheet.png", baddieFrames(), 2},
        SheetFile{"tilesheet.png", tileFrames(), 6}, SheetFile{"contsheet.png", containerFrames(), 1},
        SheetFile{"loosesheet.png", looseFrames(), 3}, SheetFile{"completesheet.png", completeFrames(), 3}})
    result.push_back({sheet.name, assembleSheet(sheet.frames, sheet.rows)});
  result.push_back({"bag.png", bagImage()});
  result.push_back({"cloud.png", cloudImage()});
  result.push_back({"logo.png", logoImage()});
  result.push_back({"puff.png", puffImage()});
  result.push_back({"glow.png", glowImage()});
  for (int size : kIconSizes) result.push_back({"icons/binhopper-" + std::to_string(size) + ".png", iconImage(size)});
  return result;
}

bool copyFile(const std::string& from, const std::string& to) {
  Result<std::string> text = readWholeFile(from);
  if (!text.ok()) return false;
  return writeFile(to, std::vector<std::uint8_t>(text.value().begin(), text.value().end()));
}

bool report(bool ok, const std::string& path) {
  if (!ok) std::fprintf(stderr, "mediagen: cannot write %s\n", path.c_str());
  return ok;
}

bool writeAll(const std::string& outDir, const std::vector<NamedPicture>& art) {
  bool ok = true;
  for (const NamedPicture& entry : art) ok &= report(savePng(entry.picture, outDir + "/" + entry.name), entry.name);
  for (const SoundEffect& effect : soundEffects())
    ok &= report(writeFile(outDir + "/" + effect.name, wavBytes(toPcm16(effect.samples))), effect.name);
  ok &= report(writeFile(outDir + "/dreamland.xm", xmBytes(dreamlandModule())), "dreamland.xm");
  ok &= report(writeFile(outDir + "/unreal_superhero.xm", xmBytes(superheroModule())), "unreal_superhero.xm");
  ok &= report(copyFile(kFontSource, outDir + "/font.ttf"), std::string("font.ttf from ") + kFontSource);
  ok &= report(copyFile(kFontLicenseSource, outDir + "/font-license.txt"),
               std::string("font-license.txt from ") + kFontLicenseSource);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  bool usage = argc != 2 && !(argc == 4 && std::string(argv[2]) == "--contact-sheet");
  if (usage) {
    std::fprintf(stderr, "usage: mediagen OUTDIR [--contact-sheet PNG]\n");
    return 2;
  }
  if (!al_install_system(ALLEGRO_VERSION_INT, nullptr) || !al_init_image_addon()) {
    std::fprintf(stderr, "mediagen: cannot start Allegro\n");
    return 1;
  }
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(argv[1]) / "icons", error);
  std::vector<NamedPicture> art = pictures();
  bool ok = writeAll(argv[1], art);
  if (argc == 4) ok &= report(savePng(contactSheet(art), argv[3]), argv[3]);
  al_shutdown_image_addon();
  al_uninstall_system();
  return ok ? 0 : 1;
}
