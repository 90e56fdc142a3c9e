#include "pipeline/normalize_chinese.h"

namespace sumvelo {
namespace {

constexpr ReplaceRule kChineseNormalization[] = {
    {"与此同时，", ""},
    // A reporting verb before "，" ends its sentence. These run before the ASCII comma and the
    // colon are unified, so "说," and "说：" do not end one.
    {"说，", "说。"},
    {"指出，", "指出。"},
    {"称，", "称。"},
    {"表示，", "表示。"},
    {"建议，", "建议。"},
    {"透露，", "透露。"},
    {"认为，", "认为。"},
    {"消息，", "消息。"},
    {"提醒，", "提醒。"},
    {"强调，", "强调。"},
    {"要求，", "要求。"},
    {"报导，", "报导。"},
    {",", "，"},
    {". ", "。"},
    {"\r\n", "。"},  // a line break ends a sentence
    {"。。", "。"},   // twice: runs of up to four full stops become one
    {"。。", "。"},
    {"。", "。〓"},
    {"。〓”", "。”〓"},  // a closing quotation mark stays with its sentence
    {"！", "！〓"},
    {"……", "……〓"},
    {"？", "？〓"},
    {"；", "；〓"},
    {"〓〓", "〓"},  // twice: doubled marks
    {"〓〓", "〓"},
    {"　", "〓"},  // every space splits a sentence
    {" ", "〓"},
    {"：", "，"},  // a colon never ends a sentence
};

}  // namespace

std::span<const ReplaceRule> ChineseNormalizationRules() { return kChineseNormalization; }

void NormalizeChinese(Workspace& ws) {
  static const GbkRules rules = ToGbkRules(kChineseNormalization);
  ws.workingText = ApplyRules(std::move(ws.workingText), rules);
}

}  // namespace sumvelo
