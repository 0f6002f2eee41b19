#pragma once

#include <QString>

#include <array>

namespace quvex::catalogue {

struct UnitModel
{
    QString display_name;
    QString code;
};

inline constexpr int kUnitModelCount = 7;
inline constexpr int kDisconnected = 0;

// Row 0 is the disconnected state; its code "BAD" is in no model list.
const std::array<UnitModel, kUnitModelCount> &unit_models();

// The unit model the operator has chosen; only model selection changes it.
class CurrentModel
{
public:
    const QString &name() const { return m_name; }
    const QString &code() const { return m_code; }
    int index() const { return m_index; }
    bool is_disconnected() const { return m_code == unit_models()[kDisconnected].code; }

    void select(int index);

    // A plain substring search, not a comparison of whole codes: a list naming "QVMX" or
    // "QVMK" admits QVM as well, and the catalogue's lists are written with that in mind.
    bool model_supports(const QString &models) const;

private:
    QString m_name;
    QString m_code;
    int m_index = -1;
};

} // namespace quvex::catalogue
