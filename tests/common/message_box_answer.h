// Test helper: answers the standard message boxes a test provokes by pressing their real
// buttons, and records what each box showed.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace quillery::testing {

// What one box showed.
struct ShownBox {
    std::string caption;                // UTF-8
    std::string text;                   // UTF-8, as given, line breaks as '\n'
    std::string displayed;              // UTF-8, as drawn: wrapped to the box's width
    std::string icon;                   // the dialog's "icon" property
    std::vector<int> buttons;           // bits, left to right
    std::vector<std::string> captions;  // UTF-8, left to right
    std::vector<QRect> buttonRects;     // left to right
    int defaultButton = 0;
    bool applicationModal = false;
    QSize size;
};

// Answers for boxes, one per box in order: a button bit, kPressEscape or kCloseBox.
inline constexpr int kPressEscape = -1;
inline constexpr int kCloseBox = -2;

class BoxAnswerer {
  public:
    explicit BoxAnswerer(std::vector<int> answers = {}) : answers_(answers.begin(), answers.end()) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(5);
    }
    void answerNext(int answer) { answers_.push_back(answer); }
    // Saves a picture of the next box to `path` (for people to look at).
    void grabNextTo(std::string path) { grabPath_ = std::move(path); }

    const std::vector<ShownBox>& shown() const { return shown_; }
    const ShownBox& last() const { return shown_.back(); }
    // Boxes that came when no answer was left (they were closed with Escape).
    int unexpected() const { return unexpected_; }

  private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || modal->objectName() != "MessageBox") return;
        if (modal == handled_) return;
        handled_ = modal;
        shown_.push_back(record(*modal));
        if (!grabPath_.empty()) {
            modal->grab().save(QString::fromStdString(grabPath_));
            grabPath_.clear();
        }
        int answer = kPressEscape;
        if (answers_.empty()) {
            ++unexpected_;
        } else {
            answer = answers_.front();
            answers_.pop_front();
        }
        if (answer == kCloseBox) {
            modal->close();
        } else if (answer == kPressEscape) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(modal, &escape);
        } else {
            for (QPushButton* button : buttons(*modal)) {
                if (button->property("buttonValue").toInt() == answer) {
                    button->click();
                    return;
                }
            }
            // No such button: leave the box the way a user without that choice would.
            ++unexpected_;
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(modal, &escape);
        }
    }

    static std::vector<QPushButton*> buttons(QWidget& box) {
        QList<QPushButton*> found = box.findChildren<QPushButton*>();
        std::vector<QPushButton*> sorted(found.begin(), found.end());
        std::sort(sorted.begin(), sorted.end(), [](QPushButton* a, QPushButton* b) {
            return a->geometry().x() < b->geometry().x();
        });
        return sorted;
    }

    static ShownBox record(QWidget& box) {
        ShownBox s;
        s.caption = box.windowTitle().toStdString();
        s.text = box.property("messageText").toString().toStdString();
        if (auto* label = box.findChild<QLabel*>("MessageText")) {
            s.displayed = label->text().toStdString();
        }
        s.icon = box.property("icon").toString().toStdString();
        for (QPushButton* button : buttons(box)) {
            const int bit = button->property("buttonValue").toInt();
            s.buttons.push_back(bit);
            s.captions.push_back(button->text().toStdString());
            s.buttonRects.push_back(button->geometry());
            if (button->isDefault()) s.defaultButton = bit;
        }
        s.applicationModal = box.windowModality() == Qt::ApplicationModal;
        s.size = box.size();
        return s;
    }

    std::deque<int> answers_;
    std::vector<ShownBox> shown_;
    QPointer<QWidget> handled_;
    int unexpected_ = 0;
    std::string grabPath_;
    QTimer timer_;
};

}  // namespace quillery::testing
