#include "platform/qt/qt_messages.h"

#include <QMessageBox>

#include "platform/cp1252.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_environment.h"

namespace tarn {
namespace {

QMessageBox::Icon toQIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

// File names in messages are UTF-8; other text is the code page's.
QString messageText(std::string_view text) {
  if (cp1252::isUtf8(text))
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return qStringFromCp1252(text);
}

}  // namespace

std::unique_ptr<QMessageBox> makeMessageBox(std::string_view text, std::string_view caption,
                                            MessageIcon icon, MessageButtons buttons,
                                            QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(
      toQIcon(icon), messageText(caption), messageText(text),
      buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
      parent);
  // Messages carry file names and source text, never markup.
  box->setTextFormat(Qt::PlainText);
  box->setDefaultButton(buttons == MessageButtons::YesNo ? QMessageBox::Yes : QMessageBox::Ok);
  return box;
}

QtMessageService::QtMessageService(QWidget* parent) : parent_(parent), headless_(stderr) {}

void QtMessageService::setParent(QWidget* parent) { parent_ = parent; }

MessageAnswer QtMessageService::show(std::string_view text, std::string_view caption,
                                     MessageIcon icon, MessageButtons buttons) {
  if (!hasInteractiveScreen()) return headless_.show(text, caption, icon, buttons);
  auto box = makeMessageBox(text, caption, icon, buttons, parent_);
  int answer = box->exec();
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  // Closing the box (Escape, the window's close button) answers No.
  return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace tarn
