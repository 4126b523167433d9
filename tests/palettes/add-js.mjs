// SPDX-License-Identifier: MIT
// adobe-aco 0.1.1's dependency @szydlovski/binary-file 0.1.0 imports its own
// modules without the ".js" that Node's ES module loader requires: add it.
export async function resolve(specifier, context, next) {
    try {
        return await next(specifier, context);
    } catch (error) {
        if (error.code === 'ERR_MODULE_NOT_FOUND' && specifier.startsWith('.'))
            return next(specifier + '.js', context);
        throw error;
    }
}
