#include "platform/system_folder.h"

#include <cstring>

#include "platform/sleep.h"

namespace tv {

unsigned FixedSystemDirectory::GetSystemDirectoryA(char* buffer, unsigned size) {
    if (!folder || folder->empty() || folder->size() + 1 > size) {
        return 0;
    }
    std::memcpy(buffer, folder->c_str(), folder->size() + 1);
    return static_cast<unsigned>(folder->size());
}

std::string HibernationFileView::Dir(const std::string& path, int attributes) {
    if (path == kStandInHibernationFile) {
        // The real file is hidden and a system file, so only a mask admitting both finds it.
        constexpr int kFileAttributes = vbAttrHidden | vbAttrSystem;
        if ((kFileAttributes & ~attributes) != 0 || !sleep_.canHibernate()) {
            return {};
        }
        return "hiberfil.sys";
    }
    return underlying_ ? underlying_->Dir(path, attributes) : std::string();
}

bool HibernationFileView::deleteFile(const std::string& path) {
    return underlying_ && path != kStandInHibernationFile && underlying_->deleteFile(path);
}

bool HibernationFileView::writeFile(const std::string& path, const std::string& bytes) {
    return underlying_ && path != kStandInHibernationFile && underlying_->writeFile(path, bytes);
}

std::optional<std::string> HibernationFileView::readFile(const std::string& path) {
    if (!underlying_ || path == kStandInHibernationFile) {
        return std::nullopt;
    }
    return underlying_->readFile(path);
}

}  // namespace tv
