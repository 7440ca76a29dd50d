#include "platform/win32/Win32FileAccess.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "platform/UniqueHandle.h"
#include "platform/win32/WideText.h"

namespace velquin {

namespace {

OsError LastError() {
  return OsError{GetLastError()};
}

// -1: INVALID_HANDLE_VALUE, what CreateFileW gives when it fails.
using FileHandle = UniqueHandle<HANDLE, CloseHandle, -1>;

// Others may read and write the file meanwhile (the game, say): we take no lock.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

bool SetEnd(HANDLE file, std::uint64_t end) {
  FILE_END_OF_FILE_INFO info{};
  info.EndOfFile.QuadPart = static_cast<LONGLONG>(end);
  return SetFileInformationByHandle(file, FileEndOfFileInfo, &info, sizeof info);
}

// Files only: a device or a pipe by a file's name (CON, \\.\pipe\...) is refused.
Result<std::uint64_t> SizeOfFile(HANDLE file) {
  if (GetFileType(file) != FILE_TYPE_DISK) return OsError{ERROR_INVALID_PARAMETER};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return LastError();
  return static_cast<std::uint64_t>(size.QuadPart);
}

Status WriteAll(HANDLE file, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  OVERLAPPED at = At(offset);
  DWORD written = 0;
  if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &at)) return LastError();
  if (written != bytes.size()) return Status::Failed(ERROR_WRITE_FAULT);
  return Status::Ok();
}

class Win32FileReader final : public FileReader {
 public:
  explicit Win32FileReader(HANDLE handle) : file_(handle) {}

  Result<std::size_t> ReadAt(std::uint64_t position, std::span<std::uint8_t> bytes) override {
    if (position == 0) return OsError{ERROR_INVALID_PARAMETER};
    OVERLAPPED at = At(position - 1);
    DWORD got = 0;
    if (!ReadFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) return std::size_t{0};
      return LastError();
    }
    return std::size_t{got};
  }

 private:
  FileHandle file_;
};

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Where a save's writes go and how they become the file's: a copy in the file's folder that
// takes its place at the commit, or the file itself.
struct Target {
  FileHandle file;           // the copy, or the file patched in place
  std::wstring path;         // the player file
  std::wstring copy;         // the copy; empty when patching in place
  bool replaces = false;     // the copy replaces a file, else it becomes a new one
  bool created = false;      // patched in place: the open made the file
  std::uint64_t length = 0;  // of the file when it was opened
};

class Win32FileWriter final : public FileWriter {
 public:
  explicit Win32FileWriter(Target target) : t_(std::move(target)) {}
  ~Win32FileWriter() override {
    if (t_.file.valid()) (void)Abandon();
  }

  Status Reserve(std::uint64_t position, std::uint64_t length) override {
    if (position == 0) return Status::Failed(ERROR_INVALID_PARAMETER);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(t_.file.get(), &size)) return LastError();
    const std::uint64_t end = position - 1 + length;
    const std::uint64_t from = std::max(position - 1, static_cast<std::uint64_t>(size.QuadPart));
    if (from >= end) return Status::Ok();
    // Windows takes the space when the end moves, and fails then on a full disk. Wine takes
    // only the last block and leaves holes before it, so the new bytes are written too, as
    // the zeros they read as.
    if (!SetEnd(t_.file.get(), end)) return LastError();
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(end - from), 0);
    return WriteAt(from + 1, zeros);
  }

  Status WriteAt(std::uint64_t position, std::span<const std::uint8_t> bytes) override {
    if (position == 0) return Status::Failed(ERROR_INVALID_PARAMETER);
    return WriteAll(t_.file.get(), position - 1, bytes);
  }

  Status Flush() override { return FlushFileBuffers(t_.file.get()) ? Status::Ok() : Status(LastError()); }

  Status Abandon() override {
    if (!t_.file.valid()) return Status::Ok();
    Status undone = Status::Ok();
    LARGE_INTEGER size{};
    if (!t_.copy.empty() || t_.created) {
      // Removed when the handle closes; it was opened with the right to do so.
      FILE_DISPOSITION_INFO remove{TRUE};
      if (!SetFileInformationByHandle(t_.file.get(), FileDispositionInfo, &remove, sizeof remove))
        undone = LastError();
    } else if (!GetFileSizeEx(t_.file.get(), &size)) {
      undone = LastError();
    } else if (static_cast<std::uint64_t>(size.QuadPart) > t_.length && !SetEnd(t_.file.get(), t_.length)) {
      undone = LastError();
    }
    const Status closed = Release();
    return undone.ok() ? closed : undone;
  }

  Status Commit() override {
    if (!t_.file.valid()) return Status::Failed(ERROR_INVALID_HANDLE);
    if (t_.copy.empty()) return Release();  // patched in place: already the file's
    // The copy's data reached the disk in Flush. On Windows ReplaceFileW keeps the replaced
    // file's attributes, security and creation time. Wine's moves the file aside under a
    // name of its own and then the copy in, two renames with no player file in between, so
    // there the copy is renamed over it in one step. A new file is moved in past the cache.
    if (const Status closed = Release(); !closed.ok()) {
      DeleteFileW(t_.copy.c_str());
      return closed;
    }
    const BOOL moved =
        t_.replaces && !UnderWine()
            ? ReplaceFileW(t_.path.c_str(), t_.copy.c_str(), nullptr, 0, nullptr, nullptr)
            : MoveFileExW(t_.copy.c_str(), t_.path.c_str(),
                          MOVEFILE_WRITE_THROUGH | (t_.replaces ? MOVEFILE_REPLACE_EXISTING : 0));
    if (moved) return Status::Ok();
    const Status failed = LastError();
    DeleteFileW(t_.copy.c_str());
    return failed;
  }

 private:
  Status Release() {
    if (!t_.file.valid()) return Status::Ok();
    return CloseHandle(t_.file.release()) ? Status::Ok() : Status(LastError());
  }

  Target t_;
};

// A 32-bit program that Windows virtualizes sees a folder under Program Files through its
// VirtualStore: a file made there lands elsewhere than the one it replaces, so it saves in place.
bool Virtualized() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  DWORD enabled = 0, size = 0;
  const BOOL asked = GetTokenInformation(token, TokenVirtualizationEnabled, &enabled, sizeof enabled, &size);
  CloseHandle(token);
  return asked && enabled != 0;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

// Removes the copies that killed saves left in the folder.
void RemoveLeftCopies(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  const std::wstring prefix = Widen(kSaveCopyPrefix);
  HANDLE search = FindFirstFileW((folder + L"\\" + prefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (std::wstring_view(found.cFileName).starts_with(prefix))
      DeleteFileW((folder + L"\\" + found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// A new file in the folder for the save's copy, opened with the right to remove it.
Result<Target> NewCopy(const std::wstring& path) {
  const std::wstring folder = FolderOf(path);
  RemoveLeftCopies(folder);
  std::random_device random;
  char suffix[17];
  std::snprintf(suffix, sizeof suffix, "%08x%08x", random(), random());
  Target t;
  t.path = path;
  t.copy = folder + L"\\" + Widen(std::string(kSaveCopyPrefix) + suffix);
  t.file = FileHandle(CreateFileW(t.copy.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!t.file.valid()) return LastError();
  return t;
}

// The file's bytes copied whole into the copy; a file with more than kLargestSaveCopy bytes or
// a second name (a hard link a copy would part from) is not copied.
Status CopyInto(const std::wstring& path, HANDLE copy) {
  FileHandle source(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!source.valid()) return LastError();
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(source.get(), &info)) return LastError();
  const std::uint64_t size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  if (info.nNumberOfLinks != 1 || size > kLargestSaveCopy) return Status::Failed(ERROR_NOT_SUPPORTED);
  std::vector<std::uint8_t> buffer(1 << 16);
  for (std::uint64_t at = 0; at < size;) {
    OVERLAPPED from = At(at);
    DWORD got = 0;
    if (!ReadFile(source.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, &from))
      return LastError();
    if (got == 0) break;
    if (const Status put = WriteAll(copy, at, std::span(buffer).first(got)); !put.ok()) return put;
    at += got;
  }
  return Status::Ok();
}

}  // namespace

Result<std::unique_ptr<FileReader>> Win32FileAccess::OpenForRead(const std::string& path) {
  // A reader lets a save remove the file it has just created, which it opens with that right,
  // and lets a save's copy replace the file.
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, kShareAll | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastError();
  if (const Result<std::uint64_t> size = SizeOfFile(file.get()); !size.ok()) return OsError{size.code()};
  return std::unique_ptr<FileReader>(std::make_unique<Win32FileReader>(file.release()));
}

Result<std::unique_ptr<FileWriter>> Win32FileAccess::OpenForWrite(const std::string& path) {
  const std::wstring wide = Widen(path);
  const bool inPlace = Virtualized();
  // The file opened for writing first, as the game would open it: a file that cannot be
  // written, or that another program holds without sharing, is refused before any copy.
  FileHandle file(CreateFileW(wide.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid() && GetLastError() != ERROR_FILE_NOT_FOUND) return LastError();
  if (!file.valid() && !inPlace) {
    // A new file appears whole at its commit.
    Result<Target> copy = NewCopy(wide);
    if (!copy.ok()) return OsError{copy.code()};
    return std::unique_ptr<FileWriter>(std::make_unique<Win32FileWriter>(std::move(copy.value())));
  }
  Target t;
  t.path = wide;
  if (!file.valid()) {
    // Created only if this open made it, and then with the right to remove it again: a failed
    // save removes no file that was there.
    t.created = true;
    file = FileHandle(CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return LastError();
  }
  const Result<std::uint64_t> size = SizeOfFile(file.get());
  if (!size.ok()) return OsError{size.code()};
  t.length = size.value();
  if (!inPlace && !t.created) {
    Result<Target> copy = NewCopy(wide);
    if (copy.ok() && CopyInto(wide, copy.value().file.get()).ok()) {
      copy.value().replaces = true;
      copy.value().length = t.length;
      return std::unique_ptr<FileWriter>(std::make_unique<Win32FileWriter>(std::move(copy.value())));
    }
    // The copy, if made, is removed as its writer goes; the folder takes no new file, or the
    // file is one a copy could not stand in for: patched in place.
    if (copy.ok()) (void)Win32FileWriter(std::move(copy.value()));
  }
  t.file = std::move(file);
  return std::unique_ptr<FileWriter>(std::make_unique<Win32FileWriter>(std::move(t)));
}

}  // namespace velquin
