#include "platform/simulated/simulated_i2c_buses.hpp"

namespace quorvane {

struct SimulatedI2CBuses::Shared {
    struct Bus {
        std::shared_ptr<SimulatedDDCMonitor> monitor;
        I2CStatus openStatus = I2CStatus::ok;
        I2CStatus addressStatus = I2CStatus::ok;
    };

    mutable std::mutex mutex;
    const Clock* clock = nullptr;
    std::map<std::string, Bus> buses;
    std::vector<SimulatedI2CEvent> events;
    int openCount = 0;

    void log(SimulatedI2CEvent event) {
        std::lock_guard lock(mutex);
        if (clock)
            event.time = clock->monotonicNow();
        events.push_back(std::move(event));
    }
};

namespace {

using Kind = SimulatedI2CEvent::Kind;

class SimulatedI2CBus final : public I2CBus {
  public:
    SimulatedI2CBus(std::shared_ptr<SimulatedI2CBuses::Shared> shared, std::string path,
                    std::shared_ptr<SimulatedDDCMonitor> monitor, I2CStatus addressStatus)
        : shared_(std::move(shared)),
          path_(std::move(path)),
          monitor_(std::move(monitor)),
          addressStatus_(addressStatus) {}

    ~SimulatedI2CBus() override {
        std::lock_guard lock(shared_->mutex);
        --shared_->openCount;
    }

    I2CStatus setSlaveAddress(std::uint8_t address) override {
        const I2CStatus status = addressStatus_;
        if (status == I2CStatus::ok)
            address_ = address;
        shared_->log({Kind::setSlaveAddress, path_, {address}, I2CReadMode::ddcci, status, {}});
        return status;
    }

    I2CStatus write(std::span<const std::uint8_t> bytes) override {
        const I2CStatus status = reachable() ? monitor_->receive(bytes) : I2CStatus::noAcknowledge;
        shared_->log(
            {Kind::write, path_, {bytes.begin(), bytes.end()}, I2CReadMode::ddcci, status, {}});
        return status;
    }

    I2CStatus read(std::span<std::uint8_t> buffer, I2CReadMode mode) override {
        const I2CStatus status =
            reachable() ? monitor_->transmit(buffer, mode) : I2CStatus::noAcknowledge;
        std::vector<std::uint8_t> received;
        if (status == I2CStatus::ok)
            received.assign(buffer.begin(), buffer.end());
        shared_->log({Kind::read, path_, std::move(received), mode, status, {}});
        return status;
    }

  private:
    bool reachable() const { return monitor_ && address_ == kMonitorAddress; }

    static constexpr std::uint8_t kMonitorAddress = 0x37;
    std::shared_ptr<SimulatedI2CBuses::Shared> shared_;
    std::string path_;
    std::shared_ptr<SimulatedDDCMonitor> monitor_;
    I2CStatus addressStatus_;
    std::optional<std::uint8_t> address_;
};

}  // namespace

SimulatedI2CBuses::SimulatedI2CBuses(const Clock* clock) : shared_(std::make_shared<Shared>()) {
    shared_->clock = clock;
}

void SimulatedI2CBuses::attach(const std::string& path,
                               std::shared_ptr<SimulatedDDCMonitor> monitor) {
    std::lock_guard lock(shared_->mutex);
    shared_->buses[path].monitor = std::move(monitor);
}

void SimulatedI2CBuses::addEmptyBus(const std::string& path) {
    std::lock_guard lock(shared_->mutex);
    shared_->buses[path];
}

void SimulatedI2CBuses::failOpen(const std::string& path, I2CStatus status) {
    std::lock_guard lock(shared_->mutex);
    shared_->buses[path].openStatus = status;
}

void SimulatedI2CBuses::failSlaveAddress(const std::string& path, I2CStatus status) {
    std::lock_guard lock(shared_->mutex);
    shared_->buses[path].addressStatus = status;
}

I2COpenResult SimulatedI2CBuses::open(const std::string& devicePath) const {
    Shared::Bus bus;
    {
        std::lock_guard lock(shared_->mutex);
        auto it = shared_->buses.find(devicePath);
        if (it == shared_->buses.end()) {
            bus.openStatus = I2CStatus::missing;
        } else {
            bus = it->second;
        }
        if (bus.openStatus == I2CStatus::ok)
            ++shared_->openCount;
    }
    shared_->log({Kind::open, devicePath, {}, I2CReadMode::ddcci, bus.openStatus, {}});
    if (bus.openStatus != I2CStatus::ok)
        return {nullptr, bus.openStatus};
    return {std::make_unique<SimulatedI2CBus>(shared_, devicePath, bus.monitor, bus.addressStatus),
            I2CStatus::ok};
}

std::vector<SimulatedI2CEvent> SimulatedI2CBuses::events() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->events;
}

std::vector<SimulatedI2CEvent> SimulatedI2CBuses::events(SimulatedI2CEvent::Kind kind) const {
    std::lock_guard lock(shared_->mutex);
    std::vector<SimulatedI2CEvent> selected;
    for (const auto& event : shared_->events) {
        if (event.kind == kind)
            selected.push_back(event);
    }
    return selected;
}

void SimulatedI2CBuses::clearEvents() {
    std::lock_guard lock(shared_->mutex);
    shared_->events.clear();
}

int SimulatedI2CBuses::openCount() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->openCount;
}

}  // namespace quorvane
