// PLACEHOLDER until the filter parser lands: only the empty filter.
#include "datastore/filter_expression.h"

#include "platform/exception.h"

namespace velmora {

struct FilterExpression::Node {};

FilterExpression::FilterExpression() = default;
FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression&&) noexcept = default;
FilterExpression& FilterExpression::operator=(FilterExpression&&) noexcept = default;

FilterExpression FilterExpression::parse(const QString& text)
{
    if (!text.trimmed().isEmpty())
        throw Exception(QStringLiteral("Filters are not available yet"));
    return {};
}

bool FilterExpression::isEmpty() const
{
    return true;
}

bool FilterExpression::matches(const FieldLookup&) const
{
    return true;
}

} // namespace velmora
