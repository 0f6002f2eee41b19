#pragma once

#include "pictures.h"

#include <QWidget>

#include <array>
#include <map>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace quvex::app {

class RadioGroupKeys;

// The panel's controls, made and placed at their fixed positions; only the adjustment list
// follows the window's size. Knows nothing of what the controls do.
class ControlForm final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidthTwips = 6765;
    static constexpr int kClientHeightTwips = 6555;
    static constexpr int kModelButtons = 7;
    static constexpr int kOptionButtons = 4;
    // The editor frame's accessible name, followed by the item's name while it holds one.
    static inline const QString kEditorName = QStringLiteral("Selected adjustment");

    explicit ControlForm(QWidget *parent = nullptr);

    QSize sizeHint() const override;

    QLineEdit &commport() const { return *m_commport; }
    QButtonGroup &quvex() const { return *m_quvex; }
    QRadioButton &quvex_button(int index) const { return *m_quvex_buttons.at(static_cast<std::size_t>(index)); }
    QGroupBox &adjustment() const { return *m_adjustment; }
    QLineEdit &item_value() const { return *m_item_value; }
    QPushButton &inc() const { return *m_inc; }
    QPushButton &dec() const { return *m_dec; }
    QButtonGroup &feat() const { return *m_feat; }
    QRadioButton &feat_button(int position) const { return *m_feat_buttons.at(static_cast<std::size_t>(position)); }
    QListWidget &menu_list() const { return *m_menu_list; }
    // CommandN by its N
    const std::map<int, QPushButton *> &commands() const { return m_commands; }

    // The option groups are one Tab stop each, at their checked button; call after checking
    // a button from code with its signals blocked.
    void update_tab_stops();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void make_port_box();
    void make_model_group();
    void make_editor();
    void make_unit_buttons();
    void make_position_frame();
    void make_zoom_frame();
    QLabel *make_label(QWidget *parent, const char *name, const QString &text, const QRect &twips);
    QPushButton *make_command(QWidget *parent, int number, const QString &text, const QRect &twips);
    QPushButton *make_arrow(QWidget *parent, int number, ArrowDirection direction, const QString &name,
                            const QString &tip, const QRect &twips);
    QGroupBox *make_frame(const char *name, const QString &caption, const QRect &twips);
    void place(QWidget &widget, const QRect &twips) const;
    void set_tab_order();

    QLineEdit *m_commport = nullptr;
    QButtonGroup *m_quvex = nullptr;
    std::array<QRadioButton *, kModelButtons> m_quvex_buttons{};
    QGroupBox *m_adjustment = nullptr;
    QLineEdit *m_item_value = nullptr;
    QPushButton *m_inc = nullptr;
    QPushButton *m_dec = nullptr;
    QButtonGroup *m_feat = nullptr;
    std::array<QRadioButton *, kOptionButtons> m_feat_buttons{};
    QListWidget *m_menu_list = nullptr;
    std::map<int, QPushButton *> m_commands;
    RadioGroupKeys *m_quvex_keys = nullptr;
    RadioGroupKeys *m_feat_keys = nullptr;
};

} // namespace quvex::app
