#include "panel.h"

namespace quvex::panel {

Panel::Panel(catalogue::Catalogue &catalogue, catalogue::CurrentModel &model, link::Link &link,
             link::ModeBracket &bracket, link::OperatorSide &operator_side, PanelView &view)
    : m_catalogue(catalogue)
    , m_model(model)
    , m_link(link)
    , m_bracket(bracket)
    , m_operator(operator_side)
    , m_view(view)
{
    m_lock.set_on_end([this] { m_history.end_action(); });
}

int Panel::supported_item_count(bool skip_headers) const
{
    int count = 0;
    for (int i = 1; i <= m_catalogue.item_count(); ++i) {
        const catalogue::Entry &entry = m_catalogue.entry(i);
        if (m_model.model_supports(entry.models) && !(skip_headers && entry.is_header()))
            ++count;
    }
    return count;
}

} // namespace quvex::panel
