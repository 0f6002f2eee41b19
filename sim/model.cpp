#include "sim/model.h"

#include <array>
#include <utility>

namespace quvex::sim {

namespace {

constexpr std::array<std::pair<Model, std::string_view>, 6> kCodes{{
    {Model::Qvl, "QVL"},
    {Model::Qvm, "QVM"},
    {Model::Qvmx, "QVMX"},
    {Model::Qvmk, "QVMK"},
    {Model::Qk1, "QK1"},
    {Model::Qk2, "QK2"},
}};

} // namespace

std::optional<Model> parse_model(std::string_view code)
{
    for (const auto &[model, text] : kCodes) {
        if (text == code)
            return model;
    }
    return std::nullopt;
}

std::string_view model_code(Model model)
{
    for (const auto &[candidate, text] : kCodes) {
        if (candidate == model)
            return text;
    }
    return {};
}

bool model_admits(std::string_view models, Model model)
{
    return models == "all" || models.find(model_code(model)) != std::string_view::npos;
}

} // namespace quvex::sim
