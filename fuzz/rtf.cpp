// RTF reader: the document into a sink that keeps formats, as the manual
// does, and as plain text, as the skier names import does.

#include "FuzzSupport.h"
#include "logs/RtfReader.h"

namespace {

class KeepingSink : public zt::RtfSink {
public:
    void paragraphFormat(const zt::RtfParagraphFormat& f) override { last_ = f; }
    void text(const QString& text, const zt::RtfCharFormat& format) override {
        chars_ += text.size();
        size_ = format.fontSizeHalfPoints;
    }
    void paragraphEnd() override { ++paragraphs_; }
    void lineBreak() override { ++paragraphs_; }

private:
    zt::RtfParagraphFormat last_;
    qsizetype chars_ = 0;
    int size_ = 0;
    int paragraphs_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zt;
    const QByteArray bytes = fuzz::bytesOf(data, size);
    KeepingSink sink;
    RtfReader::read(bytes, sink);
    if (RtfReader::isRtf(bytes))
        (void)RtfReader::toPlainText(bytes);
    return 0;
}
