// SPDX-License-Identifier: MIT
import { register } from 'node:module';
register('./add-js.mjs', import.meta.url);
