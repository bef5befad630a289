#pragma once

#include <QPointer>

#include <memory>
#include <string_view>

#include "platform/message_service.h"

class QMessageBox;
class QWidget;

namespace tarn {

/// The box QtMessageService shows: text and caption from UTF-8 where they are
/// valid UTF-8 (file names), else from Windows-1252.
std::unique_ptr<QMessageBox> makeMessageBox(std::string_view text, std::string_view caption,
                                            MessageIcon icon, MessageButtons buttons,
                                            QWidget* parent);

/// Message boxes on the desktop. Without a screen (no QApplication, or the
/// offscreen platform) nobody could answer a box, so messages go to standard
/// error and are answered as StreamMessageService does.
class QtMessageService : public MessageService {
 public:
  explicit QtMessageService(QWidget* parent = nullptr);
  void setParent(QWidget* parent);
  MessageAnswer show(std::string_view text, std::string_view caption, MessageIcon icon,
                     MessageButtons buttons) override;

 private:
  QPointer<QWidget> parent_;
  StreamMessageService headless_;
};

}  // namespace tarn
