// The filter line of the list windows: a column and a text become a filter over the rows
// already read, passing the rows whose value in that column contains the text.
#pragma once

#include <QString>

namespace kvl {

class Dataset;

class ListFilter
{
public:
    // "<column> like '*<text, quotes doubled>*'".
    static QString likeExpression(const QString &column, const QString &text);

    // Trims the text; an empty one switches the filter off. Characters of the filter syntax
    // are matched literally (an asterisk in the text is no wildcard), and nothing the user
    // types raises: a text the filter cannot express becomes the list of matching values.
    static void apply(Dataset &dataset, const QString &column, const QString &text);
};

} // namespace kvl
