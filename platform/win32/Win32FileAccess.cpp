#include "platform/win32/Win32FileAccess.h"

#include <windows.h>

#include <utility>

#include "platform/win32/WideText.h"

namespace velquin {

namespace {

OsError LastError() {
  return OsError{GetLastError()};
}

// Owns a file handle so that every exit path closes it.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

 private:
  HANDLE handle_;
};

// Others may read and write the file meanwhile (the game, say): we take no lock.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

class Win32FileWriter final : public FileWriter {
 public:
  explicit Win32FileWriter(HANDLE handle) : file_(handle) {}

  Status WriteAt(std::uint64_t position, std::span<const std::uint8_t> bytes) override {
    if (position == 0) return Status::Failed(ERROR_INVALID_PARAMETER);
    const std::uint64_t offset = position - 1;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    if (!WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, &at))
      return LastError();
    if (written != bytes.size()) return Status::Failed(ERROR_WRITE_FAULT);
    return Status::Ok();
  }

  Status Close() override {
    if (!file_.valid()) return Status::Ok();
    return CloseHandle(file_.release()) ? Status::Ok() : Status(LastError());
  }

 private:
  FileHandle file_;
};

}  // namespace

Result<Bytes> Win32FileAccess::ReadWholeFile(const std::string& path) {
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastError();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return LastError();
  if (static_cast<std::uint64_t>(size.QuadPart) > kMaxReadableFileSize) return OsError{ERROR_FILE_TOO_LARGE};

  Bytes content(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD got = 0;
    if (!ReadFile(file.get(), content.data() + done, static_cast<DWORD>(content.size() - done), &got,
                  nullptr)) {
      return LastError();
    }
    if (got == 0) break;  // the file shrank since its size was taken
    done += got;
  }
  content.resize(done);
  return content;
}

Result<std::unique_ptr<FileWriter>> Win32FileAccess::OpenForWrite(const std::string& path) {
  const HANDLE handle = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastError();
  return std::unique_ptr<FileWriter>(std::make_unique<Win32FileWriter>(handle));
}

}  // namespace velquin
