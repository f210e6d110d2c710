#include "platform/linux/published_icc_profile.hpp"

#include <X11/Xatom.h>

#include <memory>

namespace quorvane {

std::string publishedProfileAtomName(std::size_t outputIndex) {
    return outputIndex == 0 ? std::string("_ICC_PROFILE")
                            : "_ICC_PROFILE_" + std::to_string(outputIndex);
}

std::vector<std::uint8_t> readPublishedProfile(XConnection& connection,
                                               const std::string& atomName) {
    Atom property = connection.atom(atomName.c_str(), true);
    if (property == None) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    long offset = 0;
    // Read in pieces: profiles can be larger than one request may carry.
    while (true) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        const int status = connection.ask(BadImplementation, [&](Display* display) {
            return XGetWindowProperty(display, connection.root(), property, offset, 1 << 16, False,
                                      AnyPropertyType, &type, &format, &count, &remaining, &data);
        });
        std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
        if (status != Success || format != 8 || data == nullptr) {
            return {};
        }
        bytes.insert(bytes.end(), data, data + count);
        if (remaining == 0 || count == 0) {
            break;
        }
        offset += static_cast<long>(count / 4);
    }
    connection.sync();
    return bytes;
}

}  // namespace quorvane
