#include "platform/win32/Win32FileAccess.h"

#include <windows.h>

#include <algorithm>
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

class Win32FileWriter final : public FileWriter {
 public:
  Win32FileWriter(HANDLE handle, bool created, std::uint64_t length)
      : file_(handle), created_(created), length_(length) {}

  Status Reserve(std::uint64_t position, std::uint64_t length) override {
    if (position == 0) return Status::Failed(ERROR_INVALID_PARAMETER);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size)) return LastError();
    const std::uint64_t end = position - 1 + length;
    const std::uint64_t from = std::max(position - 1, static_cast<std::uint64_t>(size.QuadPart));
    if (from >= end) return Status::Ok();
    // Windows takes the space when the end moves, and fails then on a full disk. Wine takes
    // only the last block and leaves holes before it, so the new bytes are written too, as
    // the zeros they read as.
    if (!SetEnd(file_.get(), end)) return LastError();
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(end - from), 0);
    return WriteAt(from + 1, zeros);
  }

  Status WriteAt(std::uint64_t position, std::span<const std::uint8_t> bytes) override {
    if (position == 0) return Status::Failed(ERROR_INVALID_PARAMETER);
    OVERLAPPED at = At(position - 1);
    DWORD written = 0;
    if (!WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, &at))
      return LastError();
    if (written != bytes.size()) return Status::Failed(ERROR_WRITE_FAULT);
    return Status::Ok();
  }

  Status Flush() override { return FlushFileBuffers(file_.get()) ? Status::Ok() : Status(LastError()); }

  Status Abandon() override {
    Status undone = Status::Ok();
    LARGE_INTEGER size{};
    if (created_) {
      // Removed when the handle closes; it was opened with the right to do so.
      FILE_DISPOSITION_INFO remove{TRUE};
      if (!SetFileInformationByHandle(file_.get(), FileDispositionInfo, &remove, sizeof remove))
        undone = LastError();
    } else if (!GetFileSizeEx(file_.get(), &size)) {
      undone = LastError();
    } else if (static_cast<std::uint64_t>(size.QuadPart) > length_ && !SetEnd(file_.get(), length_)) {
      undone = LastError();
    }
    const Status closed = Close();
    return undone.ok() ? closed : undone;
  }

  Status Close() override {
    if (!file_.valid()) return Status::Ok();
    return CloseHandle(file_.release()) ? Status::Ok() : Status(LastError());
  }

 private:
  FileHandle file_;
  bool created_;
  std::uint64_t length_;  // when the file was opened
};

}  // namespace

Result<std::unique_ptr<FileReader>> Win32FileAccess::OpenForRead(const std::string& path) {
  // A reader lets a save remove the file it has just created, which it opens with that right.
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, kShareAll | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastError();
  if (const Result<std::uint64_t> size = SizeOfFile(file.get()); !size.ok()) return OsError{size.code()};
  return std::unique_ptr<FileReader>(std::make_unique<Win32FileReader>(file.release()));
}

Result<std::unique_ptr<FileWriter>> Win32FileAccess::OpenForWrite(const std::string& path) {
  const std::wstring wide = Widen(path);
  // Created only if this open made it, and then with the right to remove it again: a failed
  // save removes no file that was there.
  bool created = true;
  HANDLE handle = CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
    created = false;
    handle = CreateFileW(wide.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  FileHandle file(handle);
  if (!file.valid()) return LastError();
  const Result<std::uint64_t> size = SizeOfFile(file.get());
  if (!size.ok()) return OsError{size.code()};
  return std::unique_ptr<FileWriter>(
      std::make_unique<Win32FileWriter>(file.release(), created, size.value()));
}

}  // namespace velquin
