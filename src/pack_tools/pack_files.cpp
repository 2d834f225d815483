#include "pack_tools/pack_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/safe_file.h"
#include "campaign/pack_text.h"
#include "replay/replay_file.h"
#include "world/level_record.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

const char* const kWhatAPackHolds =
    "a pack holds pack.txt, 1.lv to 24.lv, winner.lv, .txt files in solutions/ and src/, and proofs/1.rpl to "
    "proofs/24.rpl";

std::vector<std::string> pathParts(const std::string& name, bool& leaves) {
  std::vector<std::string> parts;
  leaves = false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t slash = name.find('/', start);
    if (slash == std::string::npos) slash = name.size();
    std::string part = name.substr(start, slash - start);
    if (part == "..") leaves = true;
    if (!part.empty() && part != ".") parts.push_back(part);
    start = slash + 1;
  }
  return parts;
}

std::string joined(const std::vector<std::string>& parts) {
  std::string name;
  for (const std::string& part : parts) name += (name.empty() ? "" : "/") + part;
  return name;
}

// "1<suffix>" to "24<suffix>": a level's own file.
bool isNumberedName(const std::string& name, const char* suffix) {
  for (int number = 1; number <= kMaximumLevels; ++number) {
    if (name == std::to_string(number) + suffix) return true;
  }
  return false;
}

bool isTextName(const std::string& name) {
  const std::string suffix = ".txt";
  return isPlainName(name) && name.size() > suffix.size() &&
         name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool inTextFolder(const std::vector<std::string>& parts) {
  return parts.size() == 2 && (parts[0] == "solutions" || parts[0] == "src") && isTextName(parts[1]);
}

bool isProof(const std::vector<std::string>& parts) {
  return parts.size() == 2 && parts[0] == "proofs" && isNumberedName(parts[1], ".rpl");
}

bool belongsInPack(const std::vector<std::string>& parts, bool folder) {
  if (folder) return parts.size() == 1 && (parts[0] == "solutions" || parts[0] == "src" || parts[0] == "proofs");
  if (parts.size() == 1) return parts[0] == "pack.txt" || parts[0] == "winner.lv" || isNumberedName(parts[0], ".lv");
  return inTextFolder(parts) || isProof(parts);
}

bool isText(const std::string& bytes) {
  return bytes.find('\0') == std::string::npos && invalidUtf8At(bytes) == std::string::npos;
}

EntryType typeOf(mode_t mode) {
  if (S_ISREG(mode)) return EntryType::File;
  if (S_ISDIR(mode)) return EntryType::Folder;
  if (S_ISLNK(mode)) return EntryType::Link;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return EntryType::Device;
  return EntryType::Other;
}

Problem cannotRead(const std::string& path, const std::string& reason) {
  return fail(Failure::CannotRead, "cannot read " + path + ": " + reason, path);
}

Result<std::vector<std::string>> sortedNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  for (; !error && entries != fs::directory_iterator() && names.size() <= kMaximumPackEntries; entries.increment(error))
    names.push_back(entries->path().filename().string());
  if (error) return cannotRead(folder, error.message());
  std::sort(names.begin(), names.end());
  return names;
}

// Admits the folder's entries under `shownName`, descending one level (a pack's folders hold
// only files); a deeper folder is admitted and refused later for not belonging.
Result<> collectFolder(PackCollector& collector, const std::string& folder, const std::string& shownName, int depth) {
  Result<std::vector<std::string>> names = sortedNames(folder);
  if (!names.ok()) return names.problem();
  for (const std::string& name : names.value()) {
    std::string path = folder + "/" + name;
    std::string shown = shownName + "/" + name;
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) return cannotRead(path, std::strerror(errno));
    EntryType type = typeOf(status.st_mode);
    Result<> taken = collector.admit(shown, type, type == EntryType::File ? static_cast<int64_t>(status.st_size) : -1);
    if (taken.ok() && type == EntryType::Folder && depth < 1) taken = collectFolder(collector, path, shown, depth + 1);
    if (taken.ok() && type == EntryType::File) {
      Result<std::string> read = readWholeFile(path);
      if (!read.ok()) return cannotRead(path, read.problem().message);
      taken = collector.addBytes(read.value().data(), read.value().size());
    }
    if (!taken.ok()) return taken;
  }
  return {};
}

}  // namespace

Problem PackCollector::refuse(Failure kind, const std::string& reason) {
  if (!refusal_) refusal_ = fail(kind, reason);
  return *refusal_;
}

Result<> PackCollector::admit(const std::string& entryName, EntryType type, int64_t declaredBytes) {
  if (refusal_) return *refusal_;
  if (entries_.size() >= static_cast<size_t>(kMaximumPackEntries))
    return refuse(Failure::TooLarge, format("more than %d entries", kMaximumPackEntries));
  std::string shown = printableBytes(entryName);
  bool leaves = false;
  std::vector<std::string> parts = pathParts(entryName, leaves);
  if (entryName.empty()) return refuse(Failure::Malformed, "an entry without a name");
  if (entryName[0] == '/') return refuse(Failure::Malformed, "entry '" + shown + "': an absolute path");
  if (entryName.find('\\') != std::string::npos)
    return refuse(Failure::Malformed,
                  "entry '" + shown + "': a backslash in its name (a pack's paths are separated by '/')");
  if (entryName.find(':') != std::string::npos)
    return refuse(Failure::Malformed,
                  "entry '" + shown + "': a ':' in its name (a drive letter or a system's own name)");
  if (leaves) return refuse(Failure::Malformed, "entry '" + shown + "': a path that leaves the pack ('..')");
  if (type == EntryType::Link) return refuse(Failure::Malformed, "entry '" + shown + "': a link");
  if (type == EntryType::Device) return refuse(Failure::Malformed, "entry '" + shown + "': a device");
  if (type == EntryType::Other) return refuse(Failure::Malformed, "entry '" + shown + "': neither a file nor a folder");
  if (declaredBytes > static_cast<int64_t>(kMaximumEntryBytes))
    return refuse(Failure::TooLarge,
                  format("entry '%s': declares %lld bytes, more than the %llu a file may hold", shown.c_str(),
                         static_cast<long long>(declaredBytes), static_cast<unsigned long long>(kMaximumEntryBytes)));
  if (declaredBytes > 0 && totalBytes_ + static_cast<uint64_t>(declaredBytes) > kMaximumPackBytes)
    return refuse(Failure::TooLarge,
                  format("more than %llu bytes in all", static_cast<unsigned long long>(kMaximumPackBytes)));
  for (const Entry& entry : entries_) {
    if (entry.parts == parts && !parts.empty()) return refuse(Failure::Malformed, "entry '" + shown + "': given twice");
  }
  entries_.push_back(Entry{shown, parts, type == EntryType::Folder, ""});
  return {};
}

Result<> PackCollector::addBytes(const char* bytes, size_t count) {
  if (refusal_) return *refusal_;
  if (entries_.empty()) return refuse(Failure::Malformed, "bytes before any entry");
  Entry& entry = entries_.back();
  if (entry.bytes.size() + count > kMaximumEntryBytes)
    return refuse(Failure::TooLarge,
                  format("entry '%s': more than the %llu bytes a file may hold", entry.shownName.c_str(),
                         static_cast<unsigned long long>(kMaximumEntryBytes)));
  totalBytes_ += count;
  if (totalBytes_ > kMaximumPackBytes)
    return refuse(Failure::TooLarge,
                  format("more than %llu bytes in all", static_cast<unsigned long long>(kMaximumPackBytes)));
  entry.bytes.append(bytes, count);
  return {};
}

Result<PackRead> PackCollector::finish(const std::string& folderNameIfLoose) {
  PackRead read;
  if (refusal_) return *refusal_;
  bool topFolder = !entries_.empty();
  for (const Entry& entry : entries_) {
    topFolder = topFolder && !entry.parts.empty() && entry.parts[0] == entries_[0].parts[0] &&
                (entry.parts.size() > 1 || entry.folder);
  }
  Result<> inOne = topFolder ? Result<>() : allInTheTopFolder();
  if (!inOne.ok()) return inOne.problem();
  read.folderName = topFolder ? entries_[0].parts[0] : folderNameIfLoose;
  size_t skipped = topFolder ? 1 : 0;
  Result<> named = checkFolderName(read.folderName);
  if (!named.ok()) return named.problem();
  for (const Entry& entry : entries_) {
    std::vector<std::string> parts(entry.parts.begin() + std::min(skipped, entry.parts.size()), entry.parts.end());
    if (parts.empty()) continue;  // the top folder itself, or "./"
    if (!belongsInPack(parts, entry.folder))
      return fail(Failure::Malformed, "entry '" + entry.shownName + "': not part of a pack (" + kWhatAPackHolds + ")");
    if (inTextFolder(parts) && !isText(entry.bytes))
      return fail(Failure::Malformed, "entry '" + entry.shownName + "': not a text file");
    Result<Replay> proof = isProof(parts) ? decodeReplay(entry.bytes) : Result<Replay>(Replay{});
    if (!proof.ok())
      return fail(Failure::Malformed,
                  "entry '" + entry.shownName + "': not a replay (" + located(proof.problem()) + ")");
    if (!entry.folder) read.files[joined(parts)] = entry.bytes;
  }
  return read;
}

// A pack in folders lies in one top folder: when no entry lies loose beside the folders, the
// entry in another folder than the first is the one at fault (a name that differs in case, say).
Result<> PackCollector::allInTheTopFolder() const {
  const std::string* top = nullptr;
  for (const Entry& entry : entries_) {
    if (entry.parts.size() == 1 && !entry.folder) return {};
    if (!top && !entry.parts.empty()) top = &entry.parts[0];
  }
  for (const Entry& entry : entries_) {
    if (!entry.parts.empty() && entry.parts[0] != *top)
      return fail(Failure::Malformed,
                  "entry '" + entry.shownName + "': outside the folder '" + *top +
                      "' that holds the pack's first entry (a pack lies loose or in one top folder)");
  }
  return {};
}

Result<PackRead> readPackFolder(const std::string& folder) {
  std::string name = fs::absolute(folder).lexically_normal().filename().string();
  if (name.empty()) name = fs::absolute(folder).lexically_normal().parent_path().filename().string();
  if (name.empty()) return fail(Failure::Refused, "the root folder cannot be a pack's folder", folder);
  PackCollector collector;
  Result<> collected = collectFolder(collector, folder, name, 0);
  if (!collected.ok()) return collected.problem();
  return collector.finish(name);
}

Result<> writePackFiles(const std::string& folder, const PackFiles& files) {
  for (const auto& [name, bytes] : files) {
    std::string path = folder + "/" + name;
    size_t slash = name.find('/');
    std::error_code error;
    if (slash != std::string::npos) fs::create_directory(folder + "/" + name.substr(0, slash), error);
    if (error) return fail(Failure::CannotWrite, "cannot write " + path + ": " + error.message(), path);
    Result<> written = replaceFile(path, bytes);
    if (!written.ok()) return fail(written.kind(), "cannot write " + path + ": " + written.problem().message, path);
  }
  return {};
}
