#include "data/text_resources.h"

#include <cstddef>

extern const unsigned char kTextResource177[];
extern const std::size_t kTextResource177Size;
extern const unsigned char kTextResource213[];
extern const std::size_t kTextResource213Size;
extern const unsigned char kTextResource214[];
extern const std::size_t kTextResource214Size;

std::span<const unsigned char> TextResource(int id) {
    switch (id) {
    case 177: return {kTextResource177, kTextResource177Size};
    case 213: return {kTextResource213, kTextResource213Size};
    case 214: return {kTextResource214, kTextResource214Size};
    default: return {};
    }
}
