#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::testing {

// Builds EDID base blocks byte by byte, as a monitor would send them.
struct EdidBuilder {
    // Three upper-case letters of the manufacturer's PNP ID.
    std::string manufacturer = "DEL";
    std::uint16_t productCode = 0xA0C4;
    std::uint32_t serial = 0x01020304;
    std::optional<std::string> name = "DELL U2720Q";
    std::uint8_t gammaByte = 120;  // 2.2

    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> block(128, 0);
        const std::uint8_t header[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
        std::copy(std::begin(header), std::end(header), block.begin());
        unsigned id = 0;
        for (char letter : manufacturer) {
            id = (id << 5) | static_cast<unsigned>(letter - 'A' + 1);
        }
        block[8] = static_cast<std::uint8_t>(id >> 8);
        block[9] = static_cast<std::uint8_t>(id & 0xFF);
        block[10] = static_cast<std::uint8_t>(productCode & 0xFF);
        block[11] = static_cast<std::uint8_t>(productCode >> 8);
        for (int i = 0; i < 4; ++i) {
            block[12 + i] = static_cast<std::uint8_t>(serial >> (8 * i));
        }
        block[18] = 1;
        block[19] = 4;
        block[23] = gammaByte;
        // sRGB primaries and D65 white, ten bits each.
        setChromaticity(block, 0, 0.640, 0.330);
        setChromaticity(block, 1, 0.300, 0.600);
        setChromaticity(block, 2, 0.150, 0.060);
        setChromaticity(block, 3, 0.3127, 0.3290);
        // First descriptor: a detailed timing (non-zero pixel clock).
        block[54] = 0x02;
        block[55] = 0x3A;
        if (name) {
            std::uint8_t* descriptor = &block[72];
            descriptor[3] = 0xFC;
            std::size_t length = std::min<std::size_t>(name->size(), 13);
            for (std::size_t i = 0; i < 13; ++i) {
                descriptor[5 + i] = 0x20;
            }
            for (std::size_t i = 0; i < length; ++i) {
                descriptor[5 + i] = static_cast<std::uint8_t>((*name)[i]);
            }
            if (length < 13) {
                descriptor[5 + length] = 0x0A;
            }
        }
        fixChecksum(block);
        return block;
    }

    static void fixChecksum(std::vector<std::uint8_t>& block) {
        unsigned sum = 0;
        for (std::size_t i = 0; i < 127; ++i) {
            sum += block[i];
        }
        block[127] = static_cast<std::uint8_t>((256 - sum % 256) % 256);
    }

  private:
    static void setChromaticity(std::vector<std::uint8_t>& block, int index, double x, double y) {
        auto xBits = static_cast<unsigned>(x * 1024 + 0.5);
        auto yBits = static_cast<unsigned>(y * 1024 + 0.5);
        block[27 + 2 * index] = static_cast<std::uint8_t>(xBits >> 2);
        block[28 + 2 * index] = static_cast<std::uint8_t>(yBits >> 2);
        std::size_t low = index < 2 ? 25 : 26;
        int shift = (index % 2 == 0) ? 4 : 0;
        block[low] |=
            static_cast<std::uint8_t>(((xBits & 3) << (shift + 2)) | ((yBits & 3) << shift));
    }
};

}  // namespace quorvane::testing
