#include "support/fake_view.h"

namespace quvex::test {

void FakeView::show_option(int position, const QString &text)
{
    Option &option = options.at(static_cast<std::size_t>(position));
    option.caption = text;
    option.visible = true;
}

void FakeView::check_option(int position)
{
    for (std::size_t i = 0; i < options.size(); ++i)
        options[i].checked = static_cast<int>(i) == position;
}

QStringList FakeView::visible_options() const
{
    QStringList captions;
    for (const Option &option : options) {
        if (option.visible)
            captions.append(option.caption);
    }
    return captions;
}

} // namespace quvex::test
