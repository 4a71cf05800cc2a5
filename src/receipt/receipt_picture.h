#pragma once

#include <filesystem>

#include "receipt/escpos_printer.h"
#include "receipt/job_composer.h"

namespace px::receipt {

// The receipt as a PNG at one pixel per dot: the paper of the roll's width on a grey ground,
// the dots the head printed (centred on the paper), a line across where it was cut (solid for
// a full cut, dashed for a partial one) and a mark beside the paper where a drawer was kicked,
// each named in the margin. Throws std::length_error for a receipt longer than a picture can
// hold, std::runtime_error for a file that cannot be written.
void WriteReceiptPng(const Receipt& receipt, const std::filesystem::path& png);

// A page from a PNG: grey or colour is made 1-bit, darker than half black, transparent white.
// Throws std::runtime_error for a file that is no PNG.
Page ReadPagePng(const std::filesystem::path& png);

// The built-in test receipt: the model and the port in large type, the printable width in dots,
// a ruler across exactly that width (a tick each millimetre, a longer one each 5, bars at both
// ends) and a line of Chinese and English text.
Page TestPage(const std::string& model, const std::string& port, int width);

}  // namespace px::receipt
