#include "tools/tuhodb/Session.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include "catalogue/DataFolder.h"
#include "platform/Ansi.h"
#include "platform/FileSystem.h"
#include "store/CatalogueStore.h"

namespace tuho::tuhodb {

GlobalOptions& globalOptions() {
  static GlobalOptions options;
  return options;
}

namespace {

bool gCloseFailed = false;

}  // namespace

// A failed close has told itself; the exit code says it too.
Session::~Session() {
  if (!catalogue_) return;
  catalogue_->close();
  if (catalogue_->closeFailed()) gCloseFailed = true;
}

int afterSessions(int code) {
  if (!gCloseFailed) return code;
  std::fprintf(stderr, "tuhodb: closing the catalogue failed: what this command changed may not all be on the disk\n");
  return 1;
}

bool Session::open() {
  std::string folder = globalOptions().dataFolder;
  if (folder.empty()) {
    if (makeDataFolder(folder) != kAppDataFound) {
      std::fprintf(stderr, "tuhodb: the application data folder cannot be found; give one with --data DIR\n");
      return false;
    }
  } else if (!folderExists(folder) && !createFolder(folder)) {
    std::fprintf(stderr, "tuhodb: cannot create the data folder %s\n", consoleText(folder).c_str());
    return false;
  }
  catalogue_ = std::make_unique<Catalogue>(sources_, folder);
  const OpenResult opened = catalogue_->open();
  if (opened == kOpenInUse || opened == kOpenFailed) {
    // A catalogue that could not be opened holds nothing: no command may go
    // on without it, nor without the hold it carries.
    catalogue_.reset();
    if (opened == kOpenInUse) return reportInUse(folder), false;
    std::fprintf(stderr, "tuhodb: the catalogue could not be opened; nothing was changed\n");
    return false;
  }
  if (!catalogue_->loadSources()) {
    std::fprintf(stderr, "tuhodb: the media source list could not be read; nothing was changed\n");
    return false;
  }
  return true;
}

int reportInUse(const std::string& dataFolder) {
  std::fprintf(stderr, "tuhodb: %s\n", consoleText(catalogueInUseText(dataFolder)).c_str());
  return 1;
}

const SourceRef* Session::sourceNamed(const std::string& name) {
  int index = sources_.indexOfName(name);
  if (index < 0) {
    std::fprintf(stderr, "tuhodb: no media source is named %s\n", consoleText(name).c_str());
    return nullptr;
  }
  return &sources_.at(index);
}

int usage(const char* text) {
  std::fprintf(stderr, "usage: tuhodb %s\n", text);
  return 2;
}

void printLine(const std::string& json) { std::printf("%s\n", json.c_str()); }

int printListing(const std::string& lines, bool complete) {
  if (!complete) {
    std::fprintf(stderr, "tuhodb: the catalogue could not be read to its end; nothing was listed\n");
    return 1;
  }
  std::fwrite(lines.data(), 1, lines.size(), stdout);
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
  std::fprintf(stderr, "tuhodb: the listing could not be written\n");
  return 1;
}

bool parseId(const std::string& text, int& id) {
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value <= 0 || value > 0x7FFFFFFF) return false;
  id = static_cast<int>(value);
  return true;
}

namespace {

void refuseArgument(const char* given) {
  std::fprintf(stderr, "tuhodb: the ANSI code page cannot hold every character of \"%s\"\n", given);
}

}  // namespace

std::optional<std::vector<std::string>> ansiArguments(int argc, char** argv, int first, int end) {
  std::vector<std::string> out;
#ifdef _WIN32
  // The C runtime's argv has '?' for what the code page lacks already; the
  // wide command line still has every character. Should it split otherwise,
  // argv is taken as it is.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = first; wide && count == argc && i < end; ++i) {
    std::optional<std::string> ansi = exactAnsiFromUtf16(reinterpret_cast<const char16_t*>(wide[i]));
    if (!ansi) {
      refuseArgument(argv[i]);
      LocalFree(wide);
      return std::nullopt;
    }
    out.push_back(*ansi);
  }
  if (wide) LocalFree(wide);
  if (count != argc) out.assign(argv + first, argv + end);
#else
  (void)argc;
  for (int i = first; i < end; ++i) {
    std::optional<std::string> ansi = exactAnsiFromUtf8(argv[i]);
    if (!ansi) {
      refuseArgument(argv[i]);
      return std::nullopt;
    }
    out.push_back(*ansi);
  }
#endif
  return out;
}

std::optional<std::string> Options::get(const std::string& name) const {
  for (const auto& option : named) {
    if (option.first == name) return option.second;
  }
  return std::nullopt;
}

bool parseOptions(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                  const std::vector<std::string>& flagOptions, Options& out) {
  auto listed = [](const std::vector<std::string>& list, const std::string& name) {
    for (const std::string& item : list) {
      if (item == name) return true;
    }
    return false;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      out.positional.push_back(arg);
    } else if (listed(flagOptions, arg)) {
      out.named.emplace_back(arg, "");
    } else if (listed(valueOptions, arg) && i + 1 < args.size()) {
      out.named.emplace_back(arg, args[++i]);
    } else {
      std::fprintf(stderr, "tuhodb: unknown option or missing value: %s\n", consoleText(arg).c_str());
      return false;
    }
  }
  return true;
}

ProgressLine::ProgressLine(std::string label) : label_(std::move(label)), terminal_(isatty(fileno(stderr)) != 0) {}

ProgressLine::~ProgressLine() {
  if (last_ < 0) return;
  if (shown_) {
    std::fprintf(stderr, "\n");
  } else {
    std::fprintf(stderr, "%s %d\n", label_.c_str(), last_);
  }
}

void ProgressLine::show(int count) {
  last_ = count;
  if (terminal_) {
    std::fprintf(stderr, "\r%s %d", label_.c_str(), count);
    shown_ = true;
  }
}

JobEvents ProgressLine::events() {
  JobEvents events;
  events.progress = [this](const std::string&, int count) { show(count); };
  return events;
}

}  // namespace tuho::tuhodb
