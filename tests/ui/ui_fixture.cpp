#include "ui_fixture.h"

#include <QApplication>
#include <QTest>

#include "pdf/qt/qt_fonts.h"

namespace tarn::test {

FakeAppPrinter::FakeAppPrinter() : metrics(1, 1, QImage::Format_RGB32) {
  const int dotsPerMeter = qRound(600 / 0.0254);
  metrics.setDotsPerMeterX(dotsPerMeter);
  metrics.setDotsPerMeterY(dotsPerMeter);
}

PreviewDevice FakeAppPrinter::holdForPreview(bool landscape) {
  ++holds;
  return landscape ? PreviewDevice{&metrics, 6814, 4760} : PreviewDevice{&metrics, 4760, 6814};
}

UiFixture::UiFixture() : setup(defaultSetupData()) {}

UiFixture::~UiFixture() {
  frame.reset();
  settle();
}

MainFrame& UiFixture::start(std::vector<std::string> open) {
  frame.reset();
  settle();
  frame = std::make_unique<MainFrame>(app);
  frame->resize(1000, 700);
  frame->show();
  frame->scheduleStartUp(std::nullopt, std::move(open));
  settle();
  return *frame;
}

std::vector<varnixWindowView*> UiFixture::fileWindows() const {
  std::vector<varnixWindowView*> out;
  for (QMdiSubWindow* child : frame->mdi()->subWindowList(QMdiArea::CreationOrder))
    if (auto* view = qobject_cast<varnixWindowView*>(child->widget())) out.push_back(view);
  return out;
}

std::vector<std::string> UiFixture::titles() const {
  std::vector<std::string> out;
  for (QMdiSubWindow* child : frame->mdi()->subWindowList(QMdiArea::CreationOrder))
    out.push_back(child->windowTitle().toStdString());
  return out;
}

std::vector<std::string> UiFixture::said() const {
  std::vector<std::string> out;
  for (const auto& m : messages.messages) out.push_back(m.caption + ": " + m.text);
  return out;
}

void UiFixture::settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::qWait(1);
  }
}

std::vector<std::string> listingTexts(const std::string& record) {
  std::vector<std::string> texts;
  std::istringstream lines(record);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("clip ", 0) != 0) continue;
    const std::string text = line.substr(line.find('"'));
    if (text.find_first_not_of("\" ") != std::string::npos && text != "\"\\n\"")
      texts.push_back(text);
  }
  return texts;
}

}  // namespace tarn::test
