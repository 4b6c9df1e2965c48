// Runs the built terminal console as a separate process and collects what it wrote.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ConsoleResult {
    std::string out;
    std::string err;
    int status = -1; // exit status, or -1 when the process did not exit normally
};

// Runs the console with `arguments` and `input` as its standard input (a file, so neither side
// can block the other).
ConsoleResult runConsole(const std::vector<std::string>& arguments, const std::string& input);

// A folder of its own for each test, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // Writes `content` to a file called `name` in the folder and returns its path.
    std::string write(const std::string& name, const std::string& content) const;
    std::string path(const std::string& name) const;

  private:
    std::filesystem::path folder_;
};

std::string readFile(const std::string& path);
