// The order in which the views set the texts that answer a subject.
#include "divination/hexagrams.h"
#include "divination/interpretation.h"

namespace divination {

namespace {

AnswerBlock Block(const AnswerText& answer, bool table) {
    AnswerBlock block;
    block.hexagram = answer.hexagram;
    block.governing = answer.governing;
    switch (answer.kind) {
        case AnswerText::Kind::Line:
        case AnswerText::Kind::AllLines:
            block.kind = AnswerBlock::Kind::Line;
            block.line = answer.line;
            block.numbered = !table && answer.line <= 6;
            break;
        case AnswerText::Kind::Judgement:
            block.kind = AnswerBlock::Kind::Judgement;
            block.text = "Суждение: гексаграмма " + NumberAndName(answer.hexagram);
            break;
        case AnswerText::Kind::Reading:
            block.kind = AnswerBlock::Kind::Sentence;
            block.text = kNoChangingLinesSentence;
            break;
    }
    return block;
}

}  // namespace

std::vector<AnswerBlock> AnswerBlocks(const Interpretation& said) {
    std::vector<AnswerBlock> blocks;
    if (!said.complete())
        return blocks;
    const bool table = said.subject.kind == Subject::Kind::Table;
    auto heading = [&](const std::string& text) {
        blocks.push_back({AnswerBlock::Kind::Heading, text});
    };
    // Every text answers in its own right: one heading over them all, as
    // «Толкование» has always had it.
    if (table || said.school == School::AllChanging) {
        const bool reading =
            said.answers.size() == 1 && said.answers.front().kind == AnswerText::Kind::Reading;
        if (!reading)
            heading(TextsHeading(said));
        for (const AnswerText& answer : said.answers)
            blocks.push_back(Block(answer, table));
        return blocks;
    }
    // One text governs; the others stay below it.
    heading("Главный текст");
    for (const AnswerText& answer : said.answers) {
        if (answer.governing)
            blocks.push_back(Block(answer, table));
    }
    bool others = false;
    for (const AnswerText& answer : said.answers) {
        if (answer.governing)
            continue;
        if (!others)
            heading("Другие тексты");
        others = true;
        blocks.push_back(Block(answer, table));
    }
    return blocks;
}

}  // namespace divination
