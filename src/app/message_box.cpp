#include "message_box.h"

#include <QMessageBox>
#include <QTextDocument>

namespace quvex::app {

QString message_display_text(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

void dress_as_panel(QWidget &dialog, QWidget *parent, const QString &title)
{
    if (parent)
        dialog.setPalette(parent->palette());
    dialog.setWindowTitle(title);
    dialog.setWindowModality(Qt::ApplicationModal);
}

std::unique_ptr<QMessageBox> make_message_box(QWidget *parent, const QString &text, const QString &title,
                                              link::MessageIcon icon, const QString &detail)
{
    auto box = std::make_unique<QMessageBox>(parent);
    dress_as_panel(*box, parent, title.isEmpty() ? kApplicationTitle : title);
    box->setText(message_display_text(text));
    box->setTextFormat(Qt::PlainText);
    if (!detail.isEmpty())
        box->setInformativeText(Qt::convertFromPlainText(detail)); // a reason may hold a '<'
    box->setIcon(icon == link::MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    return box;
}

} // namespace quvex::app
