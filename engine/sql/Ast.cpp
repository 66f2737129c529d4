#include "engine/sql/Ast.h"

namespace quarix::engine::sql {

Expr::~Expr() {
    std::vector<std::unique_ptr<Expr>> pending = std::move(args);
    while (!pending.empty()) {
        std::unique_ptr<Expr> node = std::move(pending.back());
        pending.pop_back();
        if (!node) // moved out of the tree
            continue;
        for (auto& arg : node->args)
            pending.push_back(std::move(arg));
        node->args.clear();
    }
}

} // namespace quarix::engine::sql
