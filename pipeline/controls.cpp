#include "pipeline/controls.h"

#include "text/gbk_literal.h"

namespace sumvelo {

ByteText InitialKeywordCaption() { return Gbk("关键词：  "); }

HeadlessControls::HeadlessControls() { texts_[Index(Control::标签3)] = InitialKeywordCaption(); }

}  // namespace sumvelo
