// Message boxes owned by the desktop window. Tests install an AlertSink that
// records boxes and answers them instead of showing them.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace tuho {

enum AlertButtons { kAlertOk, kAlertRetryCancel, kAlertYesNo };
enum AlertAnswer { kAnswerOk = 1, kAnswerCancel = 2, kAnswerRetry = 4, kAnswerYes = 6, kAnswerNo = 7 };

// Shows the box and returns the answer (kAnswerOk for an OK box).
int alert(const std::string& text, const std::string& caption, AlertButtons buttons = kAlertOk);

struct AlertRecord {
  std::string text;
  std::string caption;
  AlertButtons buttons;
};

// While alive, every box is recorded here instead of shown. `answer` chooses
// the reply to Retry/Cancel and Yes/No boxes (default: Cancel and No).
class AlertSink {
 public:
  AlertSink();
  ~AlertSink();
  AlertSink(const AlertSink&) = delete;
  AlertSink& operator=(const AlertSink&) = delete;

  std::vector<AlertRecord> records() const;
  std::vector<std::string> captions() const;
  size_t count() const;
  void clear();
  std::function<int(const AlertRecord&)> answer;

 private:
  friend int alert(const std::string&, const std::string&, AlertButtons);
  int take(const AlertRecord& record);
  AlertSink* previous_;
  mutable std::mutex mutex_;
  std::vector<AlertRecord> records_;
};

// Console programs print every box as "CAPTION: text" on standard error and
// answer it with the safe choice (Cancel, No).
void useConsoleAlerts();

}  // namespace tuho
