#include "control_form.h"

#include "catalogue/unit_models.h"
#include "colours.h"
#include "list_line_delegate.h"
#include "radio_group_keys.h"
#include "twips.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace quvex::app {

namespace {

// The list sits this far from the right and bottom edges of the client area.
constexpr int kListLeftTwips = 3000;
constexpr int kListRightMarginTwips = 30;
constexpr int kListBottomMarginTwips = 45;

QFont list_font()
{
    // Names are padded to 18 characters so the values form a column: only a fixed pitch keeps it.
    QFont font(QStringLiteral("Courier New"), 10);
    font.setPointSizeF(9.75);
    font.setBold(true);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSizeF(9.75);
        font.setBold(true);
    }
    return font;
}

QFont sign_font(QFont font)
{
    font.setPointSize(12);
    font.setBold(true);
    return font;
}

} // namespace

ControlForm::ControlForm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("form"));
    QFont form_font = font();
    form_font.setPointSizeF(8.25);
    form_font.setBold(true);
    setFont(form_font);
    setMinimumSize(sizeHint());

    make_port_box();
    make_model_group();
    make_editor();
    make_unit_buttons();
    make_position_frame();
    make_zoom_frame();

    m_menu_list = new QListWidget(this);
    m_menu_list->setObjectName(QStringLiteral("menu_list"));
    m_menu_list->setAccessibleName(QStringLiteral("Adjustments"));
    m_menu_list->setFont(list_font());
    m_menu_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_menu_list->setUniformItemSizes(true);
    m_menu_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem); // lines, as a list box scrolls
    m_menu_list->setItemDelegate(new ListLineDelegate(m_menu_list));
    QPalette grey = m_menu_list->palette();
    grey.setColor(QPalette::Base, face_grey());
    m_menu_list->setPalette(grey);

    m_quvex_keys = new RadioGroupKeys(*m_quvex);
    m_feat_keys = new RadioGroupKeys(*m_feat);
    set_tab_order();
}

void ControlForm::update_tab_stops()
{
    m_quvex_keys->update_tab_stop();
    m_feat_keys->update_tab_stop();
}

void ControlForm::set_tab_order()
{
    // As the window reads, from the top left to the bottom right: the port, the unit type,
    // the editor, the unit buttons, the picture crosses, and last the list beside them all.
    QList<QWidget *> order{m_commport};
    for (QRadioButton *button : m_quvex_buttons)
        order.append(button);
    order << m_inc << m_item_value << m_dec;
    for (QRadioButton *button : m_feat_buttons)
        order.append(button);
    for (const int number : {24, 21, 22, 1, 4, 3, 5, 6, 7, 8, 9, 2, 20, 13, 11, 12, 10})
        order.append(m_commands.at(number));
    order.append(m_menu_list);
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QSize ControlForm::sizeHint() const
{
    const TwipScale scale(*this);
    return {scale.px(kClientWidthTwips), scale.px(kClientHeightTwips)};
}

void ControlForm::resizeEvent(QResizeEvent *event)
{
    const TwipScale scale(*this);
    const int left = scale.px(kListLeftTwips);
    m_menu_list->setGeometry(left, 0, width() - left - scale.px(kListRightMarginTwips),
                             height() - scale.px(kListBottomMarginTwips));
    QWidget::resizeEvent(event);
}

void ControlForm::place(QWidget &widget, const QRect &twips) const
{
    TwipScale(*this).place(widget, twips.x(), twips.y(), twips.width(), twips.height());
}

QLabel *ControlForm::make_label(QWidget *parent, const char *name, const QString &text, const QRect &twips)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(text);
    label->setAlignment(Qt::AlignCenter);
    place(*label, twips);
    return label;
}

QPushButton *ControlForm::make_command(QWidget *parent, int number, const QString &text, const QRect &twips)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QStringLiteral("Command%1").arg(number));
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    place(*button, twips);
    m_commands[number] = button;
    return button;
}

QPushButton *ControlForm::make_arrow(QWidget *parent, int number, ArrowDirection direction, const QString &name,
                                     const QString &tip, const QRect &twips)
{
    QPushButton *button = make_command(parent, number, QString(), twips);
    button->setAccessibleName(name);
    button->setToolTip(tip);
    button->setIcon(arrow_icon(direction));
    const int side = std::min(button->width(), button->height()) - 10;
    button->setIconSize(QSize(side, side));
    return button;
}

QGroupBox *ControlForm::make_frame(const char *name, const QString &caption, const QRect &twips)
{
    auto *frame = new QGroupBox(caption, this);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setAccessibleName(caption);
    place(*frame, twips);
    return frame;
}

void ControlForm::make_port_box()
{
    // Ends just short of the box it names, whatever width the font gives the text.
    make_label(this, "Label1", QStringLiteral("Use COM Port:"), {60, 0, 1680, 255})
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_commport = new QLineEdit(QStringLiteral("1"), this);
    m_commport->setObjectName(QStringLiteral("commport"));
    m_commport->setAccessibleName(QStringLiteral("COM port number"));
    place(*m_commport, {1800, 0, 315, 285});
}

void ControlForm::make_model_group()
{
    QGroupBox *frame = make_frame("quvextype", QStringLiteral("QUVEX type"), {60, 300, 2895, 1995});
    m_quvex = new QButtonGroup(this);
    m_quvex->setObjectName(QStringLiteral("quvex"));
    for (int i = 0; i < kModelButtons; ++i) {
        const QString &caption = catalogue::unit_models()[static_cast<std::size_t>(i)].display_name;
        auto *button = new QRadioButton(caption, frame);
        button->setObjectName(QStringLiteral("quvex_%1").arg(i));
        button->setAccessibleName(caption);
        place(*button, {120, 240 + 240 * i, 2655, 255});
        m_quvex->addButton(button, i);
        m_quvex_buttons[static_cast<std::size_t>(i)] = button;
    }
    m_quvex_buttons[catalogue::kDisconnected]->setChecked(true);
}

void ControlForm::make_editor()
{
    m_adjustment = make_frame("adjustment", QString(), {60, 2340, 1755, 1335});
    m_adjustment->setAccessibleName(kEditorName);

    m_inc = new QPushButton(QStringLiteral("+"), m_adjustment);
    m_inc->setObjectName(QStringLiteral("inc"));
    m_inc->setAccessibleName(QStringLiteral("Increase value"));
    m_inc->setFont(sign_font(font()));
    m_inc->setAutoDefault(false);
    place(*m_inc, {60, 240, 555, 375});

    m_item_value = new QLineEdit(QStringLiteral(" "), m_adjustment);
    m_item_value->setObjectName(QStringLiteral("item_value"));
    m_item_value->setAccessibleName(QStringLiteral("Value"));
    QPalette white = m_item_value->palette();
    white.setColor(QPalette::Base, Qt::white);
    m_item_value->setPalette(white);
    place(*m_item_value, {60, 600, 555, 285});

    m_dec = new QPushButton(QStringLiteral("-"), m_adjustment);
    m_dec->setObjectName(QStringLiteral("dec"));
    m_dec->setAccessibleName(QStringLiteral("Decrease value"));
    m_dec->setFont(sign_font(font()));
    m_dec->setAutoDefault(false);
    place(*m_dec, {60, 840, 555, 375});
    // The box overlaps both buttons a little; what is typed in it must not be hidden.
    m_item_value->raise();

    m_feat = new QButtonGroup(this);
    m_feat->setObjectName(QStringLiteral("feat"));
    for (int k = 0; k < kOptionButtons; ++k) {
        auto *button = new QRadioButton(QStringLiteral("Option1"), m_adjustment);
        button->setObjectName(QStringLiteral("feat_%1").arg(k));
        button->setAccessibleName(QStringLiteral("Option %1").arg(k + 1));
        button->hide();
        place(*button, {660, 240 + 240 * k, 1035, 255});
        m_feat->addButton(button, k);
        m_feat_buttons[static_cast<std::size_t>(k)] = button;
    }
}

void ControlForm::make_unit_buttons()
{
    make_command(this, 24, QStringLiteral("Auto Set"), {1860, 2460, 1095, 375});
    make_command(this, 21, QStringLiteral("Underscan"), {1860, 2880, 1095, 375});
    make_command(this, 22, QStringLiteral("Overscan"), {1860, 3300, 1095, 375});
}

void ControlForm::make_position_frame()
{
    QGroupBox *frame = make_frame("Frame2", QStringLiteral("Screen Position and Size"), {60, 3720, 2895, 1395});
    using enum ArrowDirection;
    make_arrow(frame, 1, Up, QStringLiteral("Picture up"), QStringLiteral("Move the picture up"), {600, 240, 375, 435});
    make_arrow(frame, 4, Left, QStringLiteral("Picture left"), QStringLiteral("Move the picture left"),
               {180, 600, 435, 375});
    make_label(frame, "Label4", QStringLiteral("Pos"), {600, 660, 375, 195});
    make_arrow(frame, 3, Right, QStringLiteral("Picture right"), QStringLiteral("Move the picture right"),
               {960, 600, 435, 375});
    make_arrow(frame, 5, Down, QStringLiteral("Picture down"), QStringLiteral("Move the picture down"),
               {600, 900, 375, 435});
    make_arrow(frame, 6, Up, QStringLiteral("Wider"), QStringLiteral("Make the picture wider"), {1560, 240, 375, 435});
    make_label(frame, "Label2", QStringLiteral("Horiz"), {1500, 660, 495, 195});
    make_arrow(frame, 7, Down, QStringLiteral("Narrower"), QStringLiteral("Make the picture narrower"),
               {1560, 900, 375, 435});
    make_arrow(frame, 8, Up, QStringLiteral("Taller"), QStringLiteral("Make the picture taller"),
               {2160, 240, 375, 435});
    make_label(frame, "Label3", QStringLiteral("Vert"), {2160, 660, 375, 195});
    make_arrow(frame, 9, Down, QStringLiteral("Shorter"), QStringLiteral("Make the picture shorter"),
               {2160, 900, 375, 435});
}

void ControlForm::make_zoom_frame()
{
    QGroupBox *frame = make_frame("Frame1", QStringLiteral("Zoom and Pan"), {60, 5160, 2895, 1395});
    make_command(frame, 2, QStringLiteral("On"), {480, 300, 675, 375})->setAccessibleName(QStringLiteral("Zoom on"));
    make_command(frame, 20, QStringLiteral("Off"), {480, 840, 675, 375})->setAccessibleName(QStringLiteral("Zoom off"));
    using enum ArrowDirection;
    make_arrow(frame, 13, Up, QStringLiteral("Pan up"), QStringLiteral("Pan the zoomed picture up"),
               {1860, 240, 375, 435});
    make_arrow(frame, 11, Left, QStringLiteral("Pan left"), QStringLiteral("Pan the zoomed picture left"),
               {1440, 600, 435, 375});
    make_label(frame, "Label5", QStringLiteral("Pan"), {1860, 660, 375, 195});
    make_arrow(frame, 12, Right, QStringLiteral("Pan right"), QStringLiteral("Pan the zoomed picture right"),
               {2220, 600, 435, 375});
    make_arrow(frame, 10, Down, QStringLiteral("Pan down"), QStringLiteral("Pan the zoomed picture down"),
               {1860, 900, 375, 435});
}

} // namespace quvex::app
