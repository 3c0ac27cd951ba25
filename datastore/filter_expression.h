#pragma once
// A dataset's client-side filter, e.g. "(IsTodayReminder = True) and
// (HasNotified = False)", "ParentID = 5" or "Name = 'O''Brien'": parsed
// once, then tested against each record.

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace velmora {

class FilterExpression {
public:
    // Looks up a field of the record being tested; found is false for a
    // name the record does not have.
    using FieldLookup = std::function<QVariant(const QString& fieldName, bool* found)>;

    // Raises velmora::Exception with a clear message on a malformed text.
    static FilterExpression parse(const QString& text);

    FilterExpression();
    ~FilterExpression();
    FilterExpression(FilterExpression&&) noexcept;
    FilterExpression& operator=(FilterExpression&&) noexcept;

    bool isEmpty() const;
    // An empty expression matches every record. A field the record lacks
    // raises velmora::Exception.
    bool matches(const FieldLookup& lookup) const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

} // namespace velmora
