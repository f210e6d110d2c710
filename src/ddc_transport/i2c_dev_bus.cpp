#include "ddc_transport/i2c_dev_bus.hpp"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace quorvane {
namespace {

I2CStatus statusForOpenError(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return I2CStatus::missing;
        case EACCES:
        case EPERM:
            return I2CStatus::accessDenied;
        default:
            return I2CStatus::failed;
    }
}

I2CStatus statusForTransferError(int error) {
    // Adapters report a missing acknowledge as ENXIO or EREMOTEIO.
    if (error == ENXIO || error == EREMOTEIO)
        return I2CStatus::noAcknowledge;
    return I2CStatus::failed;
}

class I2CDevBus final : public I2CBus {
  public:
    explicit I2CDevBus(int descriptor) : descriptor_(descriptor) {}
    ~I2CDevBus() override { ::close(descriptor_); }
    I2CDevBus(const I2CDevBus&) = delete;
    I2CDevBus& operator=(const I2CDevBus&) = delete;

    I2CStatus setSlaveAddress(std::uint8_t address) override {
        // Plain I2C_SLAVE, never the forcing variant: an address that a kernel
        // driver has claimed is left alone.
        if (::ioctl(descriptor_, I2C_SLAVE, static_cast<unsigned long>(address)) == 0) {
            return I2CStatus::ok;
        }
        return errno == EBUSY ? I2CStatus::busy : I2CStatus::failed;
    }

    I2CStatus write(std::span<const std::uint8_t> bytes) override {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0)
            return statusForTransferError(errno);
        return static_cast<std::size_t>(written) == bytes.size() ? I2CStatus::ok
                                                                 : I2CStatus::failed;
    }

    // i2c-dev has one way to read: both modes are a single read transaction
    // of the buffer's length.
    I2CStatus read(std::span<std::uint8_t> buffer, I2CReadMode) override {
        const ssize_t got = ::read(descriptor_, buffer.data(), buffer.size());
        if (got < 0)
            return statusForTransferError(errno);
        return static_cast<std::size_t>(got) == buffer.size() ? I2CStatus::ok : I2CStatus::failed;
    }

  private:
    int descriptor_;
};

}  // namespace

I2COpenResult I2CDevBusOpener::open(const std::string& devicePath) const {
    const int descriptor = ::open(devicePath.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor < 0)
        return {nullptr, statusForOpenError(errno)};
    return {std::make_unique<I2CDevBus>(descriptor), I2CStatus::ok};
}

}  // namespace quorvane
