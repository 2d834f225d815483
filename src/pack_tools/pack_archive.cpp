#include "pack_tools/pack_archive.h"

#include <archive.h>
#include <archive_entry.h>

#include <cctype>
#include <memory>
#include <set>

#include "world/world.h"

namespace {

constexpr size_t kReadChunk = 65536;  // bytes
constexpr int kFolderMode = 0755;
constexpr int kFileMode = 0644;

// A zip's end records: the end of its directory (22 bytes and a comment of up to 65535), and
// before it, in a zip64, a locator (20 bytes) of a record of its own (56 bytes and more).
const std::string kZipEndSignature = "PK\x05\x06";
const std::string kZip64LocatorSignature = "PK\x06\x07";
const std::string kZip64EndSignature = "PK\x06\x06";
constexpr size_t kZipEndBytes = 22;
constexpr size_t kZipEndSearch = kZipEndBytes + 65535;
constexpr size_t kZip64LocatorBytes = 20;
constexpr uint64_t kZip64EndBytes = 56;
// An entry of a pack's zip takes about 100 bytes of the directory (46, its name of at most about
// 150, the extra fields a writer adds); four times that leaves room for any writer.
constexpr uint64_t kLargestDirectoryEntry = 1024;

struct ReaderFree {
  void operator()(archive* reader) const { archive_read_free(reader); }
};
struct WriterFree {
  void operator()(archive* writer) const { archive_write_free(writer); }
};
struct EntryFree {
  void operator()(archive_entry* entry) const { archive_entry_free(entry); }
};

std::string errorOf(archive* handle) {
  const char* message = archive_error_string(handle);
  return message ? message : "unknown error";
}

EntryType typeOf(archive_entry* entry) {
  if (archive_entry_hardlink(entry) || archive_entry_symlink(entry)) return EntryType::Link;
  switch (archive_entry_filetype(entry)) {
    case AE_IFREG:
      return EntryType::File;
    case AE_IFDIR:
      return EntryType::Folder;
    case AE_IFLNK:
      return EntryType::Link;
    case AE_IFCHR:
    case AE_IFBLK:
      return EntryType::Device;
    default:
      return EntryType::Other;
  }
}

std::string nameOf(archive_entry* entry) {
  const char* name = archive_entry_pathname_utf8(entry);
  if (!name) name = archive_entry_pathname(entry);
  return name ? name : "";
}

// Reads the current entry's bytes into the collector.
Result<> readData(archive* reader, PackCollector& collector) {
  char buffer[kReadChunk];
  for (;;) {
    la_ssize_t count = archive_read_data(reader, buffer, sizeof buffer);
    if (count == 0) return {};
    if (count < 0) return fail(Failure::Malformed, "damaged archive: " + errorOf(reader));
    Result<> added = collector.addBytes(buffer, static_cast<size_t>(count));
    if (!added.ok()) return added;
  }
}

la_ssize_t appendTo(archive*, void* client, const void* buffer, size_t length) {
  static_cast<std::string*>(client)->append(static_cast<const char*>(buffer), length);
  return static_cast<la_ssize_t>(length);
}

void writeEntry(archive* writer, const std::string& name, const std::string* bytes, long long modified) {
  std::unique_ptr<archive_entry, EntryFree> entry(archive_entry_new());
  archive_entry_set_pathname(entry.get(), name.c_str());
  archive_entry_set_filetype(entry.get(), bytes ? AE_IFREG : AE_IFDIR);
  archive_entry_set_perm(entry.get(), bytes ? kFileMode : kFolderMode);
  archive_entry_set_size(entry.get(), bytes ? static_cast<la_int64_t>(bytes->size()) : 0);
  archive_entry_set_mtime(entry.get(), static_cast<time_t>(modified), 0);
  archive_write_header(writer, entry.get());
  if (bytes && !bytes->empty()) archive_write_data(writer, bytes->data(), bytes->size());
}

bool endsWith(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  for (size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[text.size() - suffix.size() + i])) != suffix[i]) return false;
  }
  return true;
}

uint64_t littleEndian(const std::string& bytes, size_t at, int count) {
  uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// A zip lists its entries in a directory at its end, which the reader takes in whole before the
// first entry: a directory of hundreds of thousands would cost seconds and megabytes before any
// limit could speak. Its end record (and a zip64 one's count) tells how many entries and bytes
// it holds, refused when they pass what a pack may hold.
Result<> checkZipDirectory(const std::string& bytes) {
  if (bytes.compare(0, 2, "PK") != 0 || bytes.size() < kZipEndBytes) return {};
  size_t lowest = bytes.size() > kZipEndSearch ? bytes.size() - kZipEndSearch : 0;
  // The record whose comment reaches the end of the file: a comment may hold the signature too.
  size_t end = bytes.rfind(kZipEndSignature, bytes.size() - kZipEndBytes);
  while (end != std::string::npos && end >= lowest &&
         end + kZipEndBytes + littleEndian(bytes, end + 20, 2) != bytes.size())
    end = end == 0 ? std::string::npos : bytes.rfind(kZipEndSignature, end - 1);
  if (end == std::string::npos || end < lowest) return {};
  uint64_t entries = littleEndian(bytes, end + 10, 2);
  uint64_t directoryBytes = littleEndian(bytes, end + 12, 4);
  size_t locator = end >= kZip64LocatorBytes ? end - kZip64LocatorBytes : std::string::npos;
  if (locator != std::string::npos && bytes.compare(locator, 4, kZip64LocatorSignature) == 0) {
    uint64_t record = littleEndian(bytes, locator + 8, 8);
    // The locator's offset is the archive's word: one near 2^64 must not wrap past the size check.
    bool recordFits = record <= bytes.size() && bytes.size() - record >= kZip64EndBytes;
    if (recordFits && bytes.compare(record, 4, kZip64EndSignature) == 0) {
      entries = littleEndian(bytes, record + 32, 8);
      directoryBytes = littleEndian(bytes, record + 40, 8);
    }
  }
  if (entries > static_cast<uint64_t>(kMaximumPackEntries))
    return fail(Failure::TooLarge, format("more than %d entries", kMaximumPackEntries));
  if (directoryBytes > kMaximumPackEntries * kLargestDirectoryEntry)
    return fail(Failure::TooLarge, format("a directory of %llu bytes, more than %d entries would fill",
                                          static_cast<unsigned long long>(directoryBytes), kMaximumPackEntries));
  return {};
}

Problem notAnArchive(const std::string& reason) {
  return fail(Failure::Malformed, "not a pack folder, .zip or .tar.gz archive (" + reason + ")");
}

}  // namespace

Result<PackRead> readPackArchive(const std::string& bytes, const std::string& folderNameIfLoose) {
  std::unique_ptr<archive, ReaderFree> reader(archive_read_new());
  archive_read_support_filter_gzip(reader.get());
  archive_read_support_format_zip(reader.get());
  archive_read_support_format_tar(reader.get());
  Result<> directory = checkZipDirectory(bytes);
  if (!directory.ok()) return directory.problem();
  if (archive_read_open_memory(reader.get(), bytes.data(), bytes.size()) != ARCHIVE_OK)
    return notAnArchive(errorOf(reader.get()));
  PackCollector collector;
  for (bool first = true;; first = false) {
    archive_entry* entry = nullptr;
    int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) break;
    if (status < ARCHIVE_WARN) {
      std::string reason = errorOf(reader.get());
      return first ? notAnArchive(reason) : fail(Failure::Malformed, "damaged archive: " + reason);
    }
    EntryType type = typeOf(entry);
    int64_t declared = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1;
    Result<> taken = collector.admit(nameOf(entry), type, type == EntryType::File ? declared : -1);
    if (taken.ok() && type == EntryType::File) taken = readData(reader.get(), collector);
    if (!taken.ok()) return taken.problem();
  }
  return collector.finish(folderNameIfLoose);
}

std::string archiveStem(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (const char* suffix : {".tar.gz", ".tgz", ".zip", ".tar"}) {
    if (endsWith(name, suffix)) return name.substr(0, name.size() - std::string(suffix).size());
  }
  return name;
}

std::string zipPack(const PackFiles& files, const std::string& folderName, long long modified) {
  std::string zip;
  std::unique_ptr<archive, WriterFree> writer(archive_write_new());
  archive_write_set_format_zip(writer.get());
  archive_write_set_bytes_in_last_block(writer.get(), 1);
  archive_write_open(writer.get(), &zip, nullptr, appendTo, nullptr);
  writeEntry(writer.get(), folderName + "/", nullptr, modified);
  std::set<std::string> folders;
  for (const auto& [name, bytes] : files) {
    size_t slash = name.find('/');
    if (slash != std::string::npos && folders.insert(name.substr(0, slash)).second)
      writeEntry(writer.get(), folderName + "/" + name.substr(0, slash + 1), nullptr, modified);
    writeEntry(writer.get(), folderName + "/" + name, &bytes, modified);
  }
  archive_write_close(writer.get());
  return zip;
}
