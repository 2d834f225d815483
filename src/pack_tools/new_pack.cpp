#include "pack_tools/new_pack.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "app/safe_file.h"
#include "campaign/pack_text.h"

namespace {

const char* const kFirstTarget = "60.0";  // s: a minute, until the author times a solution

std::string packText(const std::string& name) {
  return "# A campaign for Binhopper. Lines are \"key = value\"; '#' starts a comment line.\n"
         "# Each level: \"level N = TARGET NAME\", the target time in seconds (under it, with all the\n"
         "# loose garbage, the silver crown is earned) and the level's name.\n"
         "name = " +
         name +
         "\n"
         "author =\n"
         "description =\n"
         "level 1 = " +
         kFirstTarget + "\n";
}

bool exists(const std::string& path) {
  struct stat status {};
  return lstat(path.c_str(), &status) == 0;
}

}  // namespace

std::vector<std::string> makeNewPack(const std::string& folder, const std::string& name) {
  if (name.find_first_of("\r\n") != std::string::npos) return {"cannot use the name: it must be one line"};
  std::vector<std::string> problems;
  std::string text = packText(name);
  for (const PackProblem& problem : parsePackText(text).problems)
    problems.push_back("cannot use the name: " + problem.message);
  for (const char* file : {"pack.txt", "1.lv"}) {
    if (exists(folder + "/" + file)) problems.push_back(folder + "/" + file + ": already exists");
  }
  if (!problems.empty()) return problems;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return {"cannot make " + folder + ": " + error.message()};
  for (const auto& [file, bytes] : {std::pair<const char*, std::string>{"1.lv", ""}, {"pack.txt", text}}) {
    FileResult written = replaceFile(folder + "/" + file, bytes);
    if (!written.ok) return {"cannot write " + folder + "/" + file + ": " + written.reason};
  }
  return {};
}
