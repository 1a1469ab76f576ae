#include "engine/NamedValues.h"

struct NamedValues::State {};

NamedValues::NamedValues(std::vector<ValueSpec>, Log&, Limits, QObject* parent)
    : QObject(parent), state(std::make_unique<State>()) {}

NamedValues::~NamedValues() = default;

void NamedValues::start() {}

std::optional<QByteArray> NamedValues::value(QByteArrayView) const {
    return std::nullopt;
}
