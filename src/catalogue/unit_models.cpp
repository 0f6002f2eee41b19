#include "unit_models.h"

namespace quvex::catalogue {

const std::array<UnitModel, kUnitModelCount> &unit_models()
{
    static const std::array<UnitModel, kUnitModelCount> models{{
        {QStringLiteral("Dis-connected"), QStringLiteral("BAD")},
        {QStringLiteral("QUVEXview Lite"), QStringLiteral("QVL")},
        {QStringLiteral("QUVEXview Max"), QStringLiteral("QVM")},
        {QStringLiteral("QUVEXview Max X"), QStringLiteral("QVMX")},
        {QStringLiteral("QUVEXview Max XK"), QStringLiteral("QVMK")},
        {QStringLiteral("QUVEXkey Solo"), QStringLiteral("QK1")},
        {QStringLiteral("QUVEXkey Solo PCI/ISA"), QStringLiteral("QK2")},
    }};
    return models;
}

void CurrentModel::select(int index)
{
    const UnitModel &model = unit_models().at(static_cast<std::size_t>(index));
    m_name = model.display_name;
    m_code = model.code;
    m_index = index;
}

bool CurrentModel::model_supports(const QString &models) const
{
    return models.isEmpty() || models.contains(m_code, Qt::CaseSensitive);
}

} // namespace quvex::catalogue
