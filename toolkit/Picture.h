#pragma once
// A picture drawn for taking out of the program: a PNG image (to a file or the
// clipboard) or an SVG drawing whose texts stay texts. Whatever draws into its
// surface draws exactly as on the screen. Also the save dialog that names it.

#include <memory>
#include <string>
#include <vector>

#include "toolkit/Surface.h"

namespace tk {

class TControl;

enum TPictureKind { pkPng, pkSvg };

class TExportPicture {
 public:
  TExportPicture(TPictureKind kind, int width, int height, const std::string& title);
  ~TExportPicture();
  TExportPicture(const TExportPicture&) = delete;
  TExportPicture& operator=(const TExportPicture&) = delete;

  // Valid until the picture is saved or copied.
  TSurface& Surface();
  // The encoded file; drawing ends here.
  std::string Bytes();
  // An image kind only: the picture onto the clipboard.
  void CopyToClipboard();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Asks for a file to save to; empty when the user cancels. filter: "PNG image (*.png)".
std::string PromptSaveFileName(const TControl& parent, const std::string& caption,
                               const std::string& defaultName,
                               const std::vector<std::string>& filters);

}  // namespace tk
