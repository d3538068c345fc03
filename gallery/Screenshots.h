#pragma once
// Pictures of every gallery entry, flat and in 3D, and a contact sheet of them.

#include <string>
#include <vector>

// Writes NN-name-flat.png and NN-name-3d.png for every registered type into
// the folder, then contact-sheet.png of them all. Returns the pictures
// written (without the sheet); throws std::runtime_error naming the file
// that could not be written.
std::vector<std::string> WriteGalleryPictures(const std::string& folder);
// "Horiz. Bar" becomes "horiz-bar": file names without spaces or dots
std::string PictureName(const std::string& description);
