#pragma once
// What a batch command needs before it draws with Qt: a QGuiApplication on
// the offscreen platform (unless the user named one), Qt's chatter kept off
// the terminal, and the sheet's font faces mapped to the installed ones.
// A batch tool never opens a window, so no display is needed.

#include <memory>

class QGuiApplication;

namespace cli {

// Sets the drawing up for as long as it lives (a session within a session
// takes the one there is).
class DrawingSession {
 public:
  DrawingSession();
  ~DrawingSession();
  DrawingSession(const DrawingSession&) = delete;
  DrawingSession& operator=(const DrawingSession&) = delete;

 private:
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace cli
