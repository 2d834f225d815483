#include "pack_tools/new_pack.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "app/safe_file.h"
#include "campaign/pack_text.h"
#include "campaign/pack_writer.h"

namespace {

bool exists(const std::string& path) {
  struct stat status {};
  return lstat(path.c_str(), &status) == 0;
}

}  // namespace

std::vector<std::string> makeNewPack(const std::string& folder, const std::string& name) {
  if (name.find_first_of("\r\n") != std::string::npos) return {"cannot use the name: it must be one line"};
  std::vector<std::string> problems;
  std::string text = newPackText(name);
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
    Result<> written = replaceFile(folder + "/" + file, bytes);
    if (!written.ok()) return {"cannot write " + folder + "/" + file + ": " + written.problem().message};
  }
  return {};
}
