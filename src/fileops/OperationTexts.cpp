#include "fileops/OperationTexts.h"

#include <cerrno>

namespace orvo {

std::string StopQuestion(const std::string& caption) {
    return "Are you sure you want to stop " + caption + " ?";
}

std::string CouldNotText(const std::string& verb, const std::string& path) {
    return "I couldn't " + verb + " " + path + " !";
}

std::string CouldNotText(const std::string& verb, const std::string& src, const std::string& dst) {
    return "I couldn't " + verb + " " + src + "\n\n\n     to      \n\n\n" + dst + " !";
}

std::string ErrorQuestion(std::string failure, int error) {
    // A full quota is a full disk to the person copying.
    if (error == ENOSPC || error == EDQUOT)
        failure += kNoSpaceSentence;
    return failure + kContinueQuestion;
}

} // namespace orvo
