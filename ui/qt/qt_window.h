#pragma once

// One realised window: the top-level widget built from a description, and
// the WindowView its handlers drive it through.
#include "ui/qt/qt_controls.h"
#include "ui/window_view.h"

#include <QObject>
#include <QPointer>

#include <vector>

class QCloseEvent;
class QKeyEvent;
class QPushButton;

namespace vidorun::ui::qt {

class QtWindow final : public QObject, public WindowView {
public:
    QtWindow(const Window &description, WindowEvents &events);
    // Takes the window off the screen without telling closed(); the widget
    // is deleted once the current event is over.
    ~QtWindow() override;

    void setCaption(std::string_view text) override;
    std::string caption() const override;
    void setText(std::string_view control, std::string_view text) override;
    std::string text(std::string_view control) const override;
    void setEnabled(std::string_view control, bool enabled) override;
    bool isEnabled(std::string_view control) const override;
    void setVisible(std::string_view control, bool visible) override;
    bool isVisible(std::string_view control) const override;
    void clearItems(std::string_view control) override;
    void addItem(std::string_view control, std::string_view text) override;
    int itemCount(std::string_view control) const override;
    std::string itemText(std::string_view control, int index) const override;
    int currentIndex(std::string_view control) const override;
    void setCurrentIndex(std::string_view control, int index) override;
    void setPicture(std::string_view control, std::shared_ptr<const Picture> picture) override;
    void setFocus(std::string_view control) override;
    std::string focused() const override;
    void setWindowEnabled(bool enabled) override;
    bool isWindowEnabled() const override;
    void show() override;
    void activate() override;
    void close() override;

    // The top-level widget (a QMainWindow or a QDialog); null once deleted.
    QWidget *widget() const { return m_window; }
    QWidget *control(std::string_view name) const;

    // What the top-level widget hears, told here.
    void windowActivated();
    void windowCloseAsked(QCloseEvent *event);
    void windowHidden();
    bool windowKey(QKeyEvent *event);

private:
    const BuiltControl *find(std::string_view name) const;
    QPushButton *button(std::string_view name) const;
    QWidget *controlOf(QWidget *widget) const;
    bool usable(QWidget *control) const;
    void restoreFocus();
    void tellClosed();

    const Window &m_description;
    WindowEvents &m_events;
    QPointer<QWidget> m_window;
    std::vector<BuiltControl> m_controls;
    QString m_caption;
    QPointer<QWidget> m_lastFocus;  // the control that last had the focus
    bool m_closing = false;         // closing for good: mayClose is no longer asked
    bool m_closedTold = false;
};

}  // namespace vidorun::ui::qt
