// progressbar-render: draws one bar to a PNG or PPM file.
#include <iostream>
#include <memory>

#include "ppm.h"
#include "progressbar/offscreen_host.h"
#include "progressbar/xp_progressbar.h"
#include "render_options.h"
#include "runtime/cli_manners.h"
#include "runtime/numbers.h"

#ifdef TV_RENDER_WITH_QT
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include "progressbar/qt/qt_text_engine.h"
#include "runtime/strings.h"
#endif

namespace tv {
namespace {

#ifdef TV_RENDER_WITH_QT
std::string encodePng(const Bitmap& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            Color c = picture.at(x, y);
            image.setPixel(x, y, qRgb(redOf(c), greenOf(c), blueOf(c)));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        throw PictureFileError("the PNG could not be encoded");
    }
    return bytes.toStdString();
}

Bitmap loadImage(const std::string& path) {
    if (path.size() >= 4 &&
        equalsIgnoreCase(std::string_view(path).substr(path.size() - 4), ".ppm")) {
        return readPpm(path);
    }
    QImage image(QString::fromStdString(path));
    if (image.isNull()) {
        throw PictureFileError(path + ": not a picture that can be read");
    }
    Bitmap picture(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            picture.at(x, y) = rgb(qRed(p), qGreen(p), qBlue(p));
        }
    }
    return picture;
}
#else
Bitmap loadImage(const std::string& path) {
    return readPpm(path);
}
#endif

Bitmap render(const RenderOptions& o, const std::optional<Bitmap>& image, TextEngine& text) {
    SysColorTable colours = SysColorTable::luna();
    Gdi gdi(colours, text);
    OffscreenHost host(gdi, o.width, o.height);
    XP_ProgressBar bar(host, gdi);
    bar.setColor(o.color);
    bar.setMax(o.max);
    bar.setMin(o.min);
    bar.setScrolling(o.scrolling);
    bar.setOrientation(o.orientation);
    if (o.brushStyle) {
        bar.setBrushStyle(*o.brushStyle);
    }
    if (image) {
        bar.setImage(std::make_shared<StdPicture>(gdi, *image));
    }
    bar.setShowText(o.showText);
    try {
        bar.setValue(o.value);
    } catch (const std::runtime_error& error) {
        throw UsageError("--value " + std::to_string(o.value) + " with --min " +
                         std::to_string(o.min) + " and --max " + std::to_string(o.max) + ": " +
                         error.what());
    }
    return host.surface();
}

int run(int argc, char** argv) {
    RenderOptions options =
        parseRenderOptions(std::vector<std::string_view>(argv + 1, argv + argc));
    if (options.help) {
        std::cout << renderUsage;
        return 0;
    }
    std::optional<Bitmap> image;
    try {
#ifdef TV_RENDER_WITH_QT
        // Fonts need a GUI application; no display is needed for that.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // Qt's own warnings (a missing runtime folder, say) would break the one-line error rule.
        qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& message) {
                if (type == QtCriticalMsg || type == QtFatalMsg) {
                    std::cerr << "progressbar-render: " << message.toStdString() << "\n";
                }
            });
        int qtArgc = 1;
        QGuiApplication app(qtArgc, argv);
        QtTextEngine text;
#else
        if (options.png()) {
            throw UsageError("PNG output needs the Qt build; write a .ppm file instead");
        }
        BlockTextEngine text;
#endif
        if (!options.image.empty()) {
            image = loadImage(options.image);
        }
        Bitmap picture = render(options, image, text);
#ifdef TV_RENDER_WITH_QT
        std::string bytes = options.png() ? encodePng(picture) : encodePpm(picture);
#else
        std::string bytes = encodePpm(picture);
#endif
        writeFileAtomically(options.out, bytes);
    } catch (const PictureFileError& error) {
        // An unreadable --image is a bad argument; an unwritable OUT is not.
        if (image || options.image.empty()) {
            std::cerr << "progressbar-render: " << error.what() << "\n";
            return 1;
        }
        throw UsageError(error.what());
    }
    return 0;
}

}  // namespace
}  // namespace tv

int main(int argc, char** argv) {
    if (std::optional<int> code =
            tv::answerCommandLine({"progressbar-render", tv::renderUsage, tv::Arguments::Options},
                                  {argv + 1, argv + argc}, std::cout, std::cerr)) {
        return *code;
    }
    try {
        return tv::run(argc, argv);
    } catch (const tv::UsageError& error) {
        std::cerr << tv::usageErrorLine("progressbar-render", error.what()) << "\n";
        return tv::kExitUsage;
    }
}
