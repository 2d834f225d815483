#include "editor/confirm_prompt.h"

void ConfirmPrompt::open(Purpose purpose, const std::string& question, const std::string& answers) {
  purpose_ = purpose;
  panel.lines.clear();
  panel.addLine(question, " ");
  panel.addLine(answers, "");
  panel.visible = true;
}
