// One cast as a picture, PNG or SVG: its figure with the changing lines
// marked, its title, the second hexagram, the date and the question. Also
// the writer every picture of the program goes through, whole or not at all.
#pragma once

#include <QSize>
#include <QString>

#include <functional>
#include <optional>

#include "consultation/consultation.h"

class QPainter;

namespace forms {

enum class PictureFormat { Png, Svg };

// By the file's suffix, any case: .png or .svg; nothing for another.
std::optional<PictureFormat> PictureFormatOfPath(const QString& path);

// Paints a picture of `size` logical pixels into `path`: PNG at twice the
// pixels, so it is sharp on a high-density screen; SVG as shapes and text,
// titled `title`. Written beside the target and renamed over it once whole.
// Throws base::Error «Не удалось сохранить файл "<path>". <reason>» when it
// can't be written; the target is then as it was.
void WritePicture(const QString& path, PictureFormat format, QSize size, const QString& title,
                  const std::function<void(QPainter&)>& paint);

// The logical size the cast's picture takes: the question's lines decide
// its height.
QSize CastPictureSize(const consultation::Entry& entry);

void PaintCastPicture(QPainter& painter, const consultation::Entry& entry);

// Throws base::Error for a cast not yet whole, or when the file can't be
// written.
void WriteCastPicture(const consultation::Entry& entry, const QString& path, PictureFormat format);

}  // namespace forms
