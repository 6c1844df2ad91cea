// What every catalogue command of tuhodb shares: the data folder chosen by
// the global options, and the source list and catalogue opened on it as the
// program opens them at start-up and closed as it closes them at the end.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/StoreBoxes.h"
#include "store/SourceList.h"

namespace tuho::tuhodb {

struct GlobalOptions {
  std::string dataFolder;  // empty: the program's own data folder
};
GlobalOptions& globalOptions();

class Session {
 public:
  Session() { sources_.setReporter(&sourceBoxes_); }
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // False (with a message) when no data folder can be had, another
  // program holds it, or the catalogue or the source list could not be
  // opened or read (nothing is changed then). The catalogue is opened first
  // and held until the session ends; only then is the source list read.
  bool open();
  SourceList& sources() { return sources_; }
  Catalogue& catalogue() { return *catalogue_; }
  // The source registered under `name`, or null with a message.
  const SourceRef* sourceNamed(const std::string& name);

 private:
  StoreBoxes sourceBoxes_;  // what the user is shown of the list file's failures
  SourceList sources_;
  std::unique_ptr<Catalogue> catalogue_;
};

// The exit code of a command whose session has ended: 1 when closing the
// catalogue failed (told on standard error), otherwise `code`.
int afterSessions(int code);

// The "in use" line on standard error; returns the exit code for it.
int reportInUse(const std::string& dataFolder);
// A usage line on standard error; returns the exit code for bad usage.
int usage(const char* text);
void printLine(const std::string& json);
// A listing gathered whole: printed when the walk read every track;
// otherwise nothing of it is printed, a line says so, and the exit code is 1.
int printListing(const std::string& lines, bool complete);
// A track or record id: a positive decimal number.
bool parseId(const std::string& text, int& id);

// The command-line arguments argv[first..end) in the ANSI code page, in
// which the catalogue keeps its text and the platform layer takes paths.
// Nothing, with a message, when one has a character the code page lacks:
// the catalogue could neither hold such a name nor open such a path.
std::optional<std::vector<std::string>> ansiArguments(int argc, char** argv, int first, int end);

// Reads "--name value" options after the positional arguments. Returns
// false (with a usage message) on an unknown option or a missing value.
struct Options {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> named;
  std::optional<std::string> get(const std::string& name) const;
  bool has(const std::string& name) const { return get(name).has_value(); }
};
bool parseOptions(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                  const std::vector<std::string>& flagOptions, Options& out);

// Prints progress as "LABEL N" on standard error: one line rewritten in
// place on a terminal, the final count alone otherwise.
class ProgressLine {
 public:
  explicit ProgressLine(std::string label);
  ~ProgressLine();
  void show(int count);
  JobEvents events();

 private:
  std::string label_;
  bool terminal_;  // asked once: a scan shows thousands of counts
  int last_ = -1;
  bool shown_ = false;
};

}  // namespace tuho::tuhodb
