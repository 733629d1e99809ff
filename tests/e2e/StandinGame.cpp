// Stands in for the game in the black-box tests: records how it was started and exits.
// Each start appends one record to the file named by LANVORA_STANDIN_LOG: the whole command
// line, argv as the C runtime split it, the working directory, and the exact bytes of
// "net.txt" in that directory (or that there was none). Every field is length-prefixed, so
// any byte (quotes, blanks, line breaks) survives: "<name> <decimal length>:<bytes>\n".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

void AppendField(std::string& out, const char* name, const std::string& value) {
  out += name;
  out += ' ';
  out += std::to_string(value.size());
  out += ':';
  out += value;
  out += '\n';
}

std::string WorkingDirectory() {
  char buffer[MAX_PATH * 4] = {};
  DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  return std::string(buffer, n < sizeof buffer ? n : 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const char* logPath = std::getenv("LANVORA_STANDIN_LOG");
  if (logPath == nullptr || *logPath == '\0') return 2;

  std::string record = "record\n";
  AppendField(record, "cmdline", GetCommandLineA());
  AppendField(record, "argc", std::to_string(__argc));
  for (int i = 0; i < __argc; ++i) AppendField(record, "argv", __argv[i]);
  AppendField(record, "cwd", WorkingDirectory());
  std::ifstream script("net.txt", std::ios::binary);
  if (script) {
    AppendField(
        record, "net.txt",
        std::string(std::istreambuf_iterator<char>(script), std::istreambuf_iterator<char>()));
  } else {
    AppendField(record, "net.txt-missing", "");
  }
  record += "end\n";

  // One write per record keeps records whole when several stand-ins run at once.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      BOOL ok = WriteFile(log, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
      CloseHandle(log);
      return ok && written == record.size() ? 0 : 3;
    }
    Sleep(10);  // another stand-in holds the log; share mode 0 serialises the appends
  }
  return 4;
}
