#!/usr/bin/env bash
# Creates, once, the demo database <folder>/DEMO.FDB for the embedded Firebird engine: the ERP's
# parameter table TAB_PARAMETRO (a few rows, without the columns VERSAO_ERP and script_rodado,
# which the program adds at its first start) and its update log MOV_LOG_ATUALIZACAO.
#   scripts/lib/banco-demo.sh <folder>
# An existing DEMO.FDB is left as it is. The embedded engine keeps its lock files in
# $FIREBIRD_LOCK (default here: <folder>/firebird-lock, as the package's /tmp/firebird is open to
# root and the firebird group only); run the program with the same FIREBIRD_LOCK.
# Debian 12 package: firebird3.0-utils (isql-fb).
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 <folder>" >&2; exit 2; }
pasta=$(mkdir -p "$1" && cd "$1" && pwd)
banco=$pasta/DEMO.FDB
[ -f "$banco" ] && exit 0
command -v isql-fb >/dev/null || { echo "$0: isql-fb missing (package firebird3.0-utils)" >&2; exit 1; }
export FIREBIRD_LOCK=${FIREBIRD_LOCK:-$pasta/firebird-lock}

# Made under another name and renamed when complete, so that a broken run leaves no DEMO.FDB.
novo=$pasta/DEMO.FDB.novo
rm -f "$novo"
aspas=${novo//\'/\'\'}
isql-fb -q -b <<SQL >"$pasta/banco-demo.log" 2>&1 || { cat "$pasta/banco-demo.log" >&2; rm -f "$novo"; exit 1; }
create database '$aspas' user 'sysdba' password 'quelvorin';

create table tab_parametro (
  id_parametro integer not null primary key,
  razao_social varchar(60),
  nome_fantasia varchar(40),
  cnpj char(18),
  cidade varchar(40),
  uf char(2),
  dt_cadastro date);
insert into tab_parametro values
  (1, 'Tolvane Comércio de Alimentos Ltda', 'Tolvane Matriz', '12.345.678/0001-90',
   'São Paulo', 'SP', '2019-03-01');
insert into tab_parametro values
  (2, 'Tolvane Comércio de Alimentos Ltda', 'Tolvane Centro', '12.345.678/0002-71',
   'Campinas', 'SP', '2021-07-15');
insert into tab_parametro values
  (3, 'Tolvane Distribuidora Ltda', 'Tolvane Norte', '98.765.432/0001-10',
   'Belém', 'PA', '2023-02-20');

create table mov_log_atualizacao (
  no_log_atualizacao integer not null primary key,
  dt_atualizacao timestamp,
  descricao varchar(100));
insert into mov_log_atualizacao values (101, '2023-01-10 08:00:00', 'Script 101');
insert into mov_log_atualizacao values (109, '2023-09-21 12:00:00', 'Script 109');
insert into mov_log_atualizacao values (117, '2024-05-02 18:30:00', 'Script 117');
commit;
SQL
rm -f "$pasta/banco-demo.log"
mv "$novo" "$banco"
