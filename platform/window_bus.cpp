// PLACEHOLDER: replaced by the real bus. Finds nothing, listens nowhere.
#include "platform/window_bus.h"

namespace velmora::platform {

struct BusTarget::Impl {};
BusTarget::BusTarget(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
BusTarget::BusTarget(BusTarget&&) noexcept = default;
BusTarget& BusTarget::operator=(BusTarget&&) noexcept = default;
BusTarget::~BusTarget() = default;
bool BusTarget::isInProcess() const { return false; }
bool BusTarget::post(int, qint64, qint64) { return false; }
Delivery BusTarget::sendCopyData(qint64, const QByteArray&, int) { return Delivery::Failed; }

std::optional<BusTarget> WindowBus::find(const QString&) { return std::nullopt; }
QString WindowBus::socketPath(const QString&) { return {}; }

struct WindowBusListener::Impl { QString caption; };
WindowBusListener::WindowBusListener(QObject* parent) : QObject(parent), m_impl(std::make_unique<Impl>()) {}
WindowBusListener::~WindowBusListener() = default;
bool WindowBusListener::listen(const QString&) { return false; }
void WindowBusListener::close() {}
bool WindowBusListener::isListening() const { return false; }
QString WindowBusListener::caption() const { return m_impl->caption; }

} // namespace velmora::platform
