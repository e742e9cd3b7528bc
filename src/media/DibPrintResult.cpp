#include "media/DibPrintResult.h"

namespace tamber {

namespace {

constexpr const char* kMessages[] = {
    "No DIB passed to DIBPrint().",
    "Couldn't get a printer DC.",
    "Driver Bug!  NEXTBAND not implemented.",
    "Error during BANDINFO.",
    "Error during SetDIBitsToDevice().",
    "Error during StretchDIBits().",
    "Error during STARTDOC.",
    "Error during SETABORTPROC.",
    "Error during StartPage().",
    "Error during NEWFRAME.",
    "Error during ENDOC.",
    "Error during NEXTBAND.",
    "Couldn't find StartDoc() in GDI.",
    "Couldn't find SetAbortProc() in GDI.",
    "Couldn't find StartPage() in GDI.",
};
constexpr const char* kNoError = "No error while printing.";

}  // namespace

const char* DibPrintResult::Message(uint32_t result) {
    for (uint32_t bit = 0; bit < sizeof kMessages / sizeof kMessages[0]; ++bit) {
        if ((result & (1u << bit)) != 0) {
            return kMessages[bit];
        }
    }
    return kNoError;
}

}  // namespace tamber
