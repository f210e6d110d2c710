#include "models/color/color_profile_error.hpp"

namespace quorvane {

std::string ColorProfileError::description() const {
    switch (kind) {
        case Kind::displayUUIDUnavailable:
            return "이 디스플레이의 시스템 색상 프로파일 식별자를 찾지 못했습니다.";
        case Kind::profileNotFound:
            return "색상 프로파일을 찾지 못했습니다: " + detail;
        case Kind::profileURLUnavailable:
            return "이 색상 프로파일은 적용할 파일 위치를 제공하지 않습니다: " + detail;
        case Kind::writeFailed:
            return detail;
    }
    return detail;
}

}  // namespace quorvane
